#pragma once

#include <string>

#include "host/geometry.h"
#include "host/param_block.h"

namespace graphel_cli {

// A parameter value as typed on the command line.
struct ParamValue {
  double number = 0.0;
  zal::AColor colour;
  std::u16string text;
};

// A decimal number, independent of the locale; "nan" and "inf" are accepted.
bool ParseNumber(const std::string& text, double& value);

// Reads text as a value for a parameter of the given type: numbers, booleans (true/false, on/off,
// yes/no, 1/0), colours as ParseColourText reads them, names as they are.
bool ParseParamValue(zal::ParamType2 type, const std::string& text, ParamValue& value);

// Reads text as a value of def and sets it in block at t; false with a message otherwise. A value the
// block had to bring into its range is reported on standard error.
bool AssignParam(zal::IParamBlock2& block, const zal::ParamDef& def, const std::string& text, zal::TimeValue t,
                 std::string& error);

// Sets (or, with asKey, keys) the value at t.
bool StoreParamValue(zal::IParamBlock2& block, const zal::ParamDef& def, zal::TimeValue t, const ParamValue& value,
                     bool asKey);

}  // namespace graphel_cli
