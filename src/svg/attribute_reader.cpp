#include "svg/attribute_reader.h"

#include "svg/declaration_block.h"
#include "svg/limits.h"
#include "svg/number_parse.h"
#include "svg/property_table.h"
#include "svg/values.h"

namespace svg {

bool AttributeReader::ReadGeneric(std::u16string_view name, std::u16string_view value) {
  if (name.empty()) return true;
  if (name == u"id") {
    document_.SetId(value);
  } else if (name == u"xml:base") {
    document_.SetXmlBase(value);
  } else if (name == u"xml:space") {
    document_.SetXmlSpace(value);
  } else if (name == u"class") {
    if (document_.SetClass(value)) ++scriptCount_;
  } else if (name == u"style") {
    const uint16_t saved = mode_;
    mode_ = kModeStyleAttribute;
    ReadDeclarationBlock(value);
    mode_ = saved == kModeStyleElement ? saved : kModeAttributes;
  } else {
    return ReadProperty(name, value);
  }
  return true;
}

bool AttributeReader::ReadProperty(std::u16string_view name, std::u16string_view value) {
  const PropertyId id = LookupProperty(name);
  if (id == PropertyId::kUnknown) return false;
  if (ContainsScript(value)) {
    document_.SetScriptProperty(id, value, mode_);
    document_.hasScripts = true;
    ++scriptCount_;
    return true;
  }
  mode_ &= ~kModeInherit;
  if (value.substr(0, 7) == u"inherit") mode_ |= kModeInherit;
  if (GetPropertyInfo(id).kind == ParseKind::kNotStored) return false;
  document_.SetProperty(id, value, mode_);
  return true;
}

void AttributeReader::ReadDeclarationBlock(std::u16string_view block) {
  ForEachDeclaration(block, [this](std::u16string_view name, std::u16string_view value) {
    ReadGeneric(name, value);
  });
}

void AttributeReader::AddStyleSheetText(std::u16string_view chunk) {
  while (!chunk.empty() && IsSpaceChar(chunk.front())) chunk.remove_prefix(1);
  if (styleSheetBuffer_.size() + chunk.size() >= kStyleSheetBufferSize) return;
  styleSheetBuffer_ += chunk;
  if (styleSheetBuffer_.find(u'}') == std::u16string::npos) return;
  ParseRule();
  styleSheetBuffer_.clear();
}

// One rule per chunk: whatever follows the first "}" is dropped with it.
void AttributeReader::ParseRule() {
  std::u16string_view text(styleSheetBuffer_);
  text = text.substr(0, text.find(u'}'));
  const size_t brace = text.find(u'{');
  if (brace == std::u16string_view::npos) return;

  document_.pendingRule.Clear();
  const uint16_t saved = mode_;
  mode_ = kModeStyleElement;
  ReadDeclarationBlock(text.substr(brace + 1));
  mode_ = saved;
  document_.AddStyleRule(BlankComments(text.substr(0, brace)));
}

}  // namespace svg
