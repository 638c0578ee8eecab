#pragma once

// The plug-in module hides its own symbols; everything the host hands to plug-ins stays visible so
// that vtables and type information are shared between the host and the modules it loads.
#define ZAL_API __attribute__((visibility("default")))
