#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// Reads any PNG into 8-bit straight (un-premultiplied) R, G, B, A bytes, top row first. Returns false,
// with a message in error, when the file can't be read or decoded; rgba is then left empty.
bool ReadPng(const std::string& path, std::vector<uint8_t>& rgba, uint32_t& width, uint32_t& height,
             std::string& error);

}  // namespace testing_support
