#include "host/function_publish.h"

#include <cstring>

#include "host/host_error.h"

namespace zal {

FPValue FPValue::Bool(bool value) {
  FPValue result;
  result.type = TYPE_BOOL;
  result.b = value;
  return result;
}

FPValue FPValue::String(std::u16string_view value) {
  FPValue result;
  result.type = TYPE_STRING;
  result.s = value;
  return result;
}

const FPValue& FPParams::operator[](size_t index) const {
  if (index >= params.size()) throw Error(kArrayIndexError);
  return params[index];
}

const FPFunctionDef* FPInterfaceDesc::FindFunction(std::string_view name) const {
  for (const FPFunctionDef& function : functions) {
    if (name == function.name) return &function;
  }
  return nullptr;
}

Interface_ID FPInterface::GetID() {
  const FPInterfaceDesc* desc = GetDesc();
  return desc != nullptr ? desc->id : Interface_ID{};
}

}  // namespace zal
