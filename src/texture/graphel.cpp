#include "texture/graphel.h"

#include "host/host_error.h"
#include "host/host_interface.h"
#include "platform/wide_text.h"
#include "texture/graphel_class_desc.h"

namespace graphel {
namespace {

constexpr zal::FPParamDef kSetSvgStringParams[] = {{"fnSetSvgString", zal::TYPE_STRING}};

constexpr zal::FPFunctionDef kFunctions[] = {
    {kReload, "Reload", zal::TYPE_VOID, {}},
    {kRefresh, "Refresh", zal::TYPE_VOID, {}},
    {kViewImage, "ViewImage", zal::TYPE_VOID, {}},
    {kSetSvgString, "SetSvgString", zal::TYPE_BOOL, kSetSvgStringParams},
};

constexpr zal::FPInterfaceDesc kInterfaceDesc{.id = kGraphelInterfaceId, .internalName = "Graphel", .functions = kFunctions};

}  // namespace

const zal::FPInterfaceDesc* GraphelInterface::GetDesc() { return &kInterfaceDesc; }

zal::FPStatus GraphelInterface::Invoke(zal::FunctionID id, zal::FPValue& result, const zal::FPParams* params) {
  try {
    result = zal::FPValue{};
    switch (id) {
      case kReload:
        Reload();
        break;
      case kRefresh:
        Refresh();
        break;
      case kViewImage:
        ViewImage();
        break;
      case kSetSvgString: {
        const zal::FPParams none;
        const zal::FPParams& arguments = params != nullptr ? *params : none;
        result = zal::FPValue::Bool(SetSvgString(arguments[0].s));
        break;
      }
      default:
        return zal::FPStatus{zal::FPS_NO_SUCH_FUNCTION, u"No such function"};
    }
    return zal::FPStatus{zal::FPS_OK, {}};
  } catch (const std::exception& error) {
    return zal::FPStatus{zal::FPS_FAIL, platform::Utf8ToWide(error.what())};
  }
}

Graphel::Graphel()
    : scriptCallback_(std::make_unique<SvgZalScriptCallback>(messages_, zal::GetCOREInterface()->GetTime())),
      cache_(scriptCallback_.get()) {
  GetGraphelDesc()->MakeAutoParamBlocks(this);
  ReplaceReference(kCoordsRef, zal::GetNewDefaultUVGen());
  ReplaceReference(kOutputRef, zal::GetNewDefaultTextureOutput());
  ResetHeld();
  Load();
}

Graphel::~Graphel() { DeleteAllRefs(); }

zal::BaseInterface* Graphel::GetInterface(zal::Interface_ID id) {
  if (id == kGraphelInterfaceId) return static_cast<GraphelInterface*>(this);
  if (id == kGraphelProbeInterfaceId) return static_cast<GraphelProbe*>(this);
  if (id == kShaderTranslationInterfaceId) return &shaderTranslation_;
  return zal::Texmap::GetInterface(id);
}

zal::ReferenceTarget* Graphel::GetReference(int i) {
  switch (i) {
    case kCoordsRef: return uvGen_;
    case kOutputRef: return texout_;
    case kParamsRef: return blocks_[kParamsBlock];
    case kPatternRef: return blocks_[kPatternBlock];
    case kPdfRef: return blocks_[kPdfBlock];
    case kAdvancedRef: return blocks_[kAdvancedBlock];
    default: return nullptr;
  }
}

void Graphel::SetReference(int i, zal::ReferenceTarget* target) {
  switch (i) {
    case kCoordsRef: uvGen_ = dynamic_cast<zal::UVGen*>(target); break;
    case kOutputRef: texout_ = dynamic_cast<zal::TextureOutput*>(target); break;
    case kParamsRef: blocks_[kParamsBlock] = dynamic_cast<zal::IParamBlock2*>(target); break;
    case kPatternRef: blocks_[kPatternBlock] = dynamic_cast<zal::IParamBlock2*>(target); break;
    case kPdfRef: blocks_[kPdfBlock] = dynamic_cast<zal::IParamBlock2*>(target); break;
    case kAdvancedRef: blocks_[kAdvancedBlock] = dynamic_cast<zal::IParamBlock2*>(target); break;
    default: break;
  }
}

zal::IParamBlock2* Graphel::GetParamBlock(int i) { return i >= 0 && i < kNumBlocks ? blocks_[i] : nullptr; }

zal::IParamBlock2* Graphel::GetParamBlockByID(zal::BlockID id) {
  for (zal::IParamBlock2* block : blocks_) {
    if (block != nullptr && block->ID() == id) return block;
  }
  return nullptr;
}

zal::RefResult Graphel::NotifyRefChanged(const zal::Interval&, zal::ReferenceTarget* target, zal::PartID,
                                         zal::RefMessage message) {
  if (message != zal::REFMSG_CHANGE) return zal::REF_SUCCEED;
  shaderTranslation_.MarkStale();
  try {
    if (target == texout_) {
      texoutValid_.SetEmpty();
      return zal::REF_SUCCEED;
    }
    ivalid_.SetEmpty();
    if (target == blocks_[kParamsBlock] && blocks_[kParamsBlock]->LastNotifyParamID() == kVectorFile) {
      Load();
      Refresh();
    }
  } catch (const std::exception& error) {
    messages_.Show(platform::Utf8ToWide(error.what()));
  }
  return zal::REF_SUCCEED;
}

void Graphel::ResetHeld() {
  held_ = HeldParams{};
  patternSettings_ = document::PatternSettings{};
  pdfSettings_ = document::PdfPageSettings{};
  pdfSettings_.transparent = 1;
  ivalid_.SetEmpty();
  texoutValid_.SetEmpty();
}

void Graphel::Reset() {
  if (uvGen_ != nullptr) {
    uvGen_->Reset();
  } else {
    ReplaceReference(kCoordsRef, zal::GetNewDefaultUVGen());
  }
  if (texout_ != nullptr) {
    texout_->Reset();
  } else {
    ReplaceReference(kOutputRef, zal::GetNewDefaultTextureOutput());
  }
  for (zal::IParamBlock2* block : blocks_) {
    if (block != nullptr) block->ResetAll();
  }
  ResetHeld();
}

zal::Interval Graphel::Validity(zal::TimeValue) {
  zal::Interval valid = ivalid_;
  valid &= texoutValid_;
  return valid;
}

void Graphel::Reload() {
  svgText_.reset();
  forceReload_ = true;
  scriptCallback_->SetTime(zal::GetCOREInterface()->GetTime());
  blocks_[kParamsBlock]->SetValue(kVectorFile, zal::GetCOREInterface()->GetTime(), path_);
}

void Graphel::Refresh() {
  ivalid_.SetEmpty();
  texoutValid_.SetEmpty();
}

void Graphel::ViewImage() {
  // Shown only while the texture's main panel is open; the stand-in host has no panels yet.
}

bool Graphel::SetSvgString(std::u16string_view text) {
  if (text.empty()) {
    svgText_.reset();
  } else {
    svgText_ = std::u16string(text);
  }
  scriptCallback_->SetTime(zal::GetCOREInterface()->GetTime());
  blocks_[kParamsBlock]->SetValue(kVectorFile, zal::GetCOREInterface()->GetTime(), path_);
  return true;
}

CacheReport Graphel::Cache() {
  const std::lock_guard lock(lock_);
  CacheReport report;
  report.bytesUsed = cache_.BytesUsed();
  report.topLevel = cache_.TopLevel();
  report.entryCount = cache_.EntryCount();
  const TileCache::Census census = cache_.Count();
  report.fullTiles = census.full;
  report.uniformTiles = census.uniform;
  report.documentLoads = cache_.DocumentLoads();
  if (const document::VectorDocument* loaded = cache_.Document()) {
    report.hasDocument = true;
    report.documentType = static_cast<uint32_t>(loaded->Type());
    report.aspect = loaded->Aspect();
  }
  return report;
}

PanelFacts Graphel::Panel() {
  const std::lock_guard lock(lock_);
  PanelFacts facts;
  if (const document::VectorDocument* loaded = cache_.Document()) {
    facts.documentType = static_cast<uint32_t>(loaded->Type());
    loaded->PatternNames(facts.patternNames);
    facts.pageCount = loaded->PageCount();
  }
  if (facts.pageCount > 0) {
    facts.pageWidth = pdfSettings_.pageWidth;
    facts.pageHeight = pdfSettings_.pageHeight;
  }
  return facts;
}

void Graphel::ClearTiles(bool keepLevel10) {
  const std::lock_guard lock(lock_);
  cache_.ClearTiles(keepLevel10);
  messages_.PostMemory(cache_.BytesUsed());
}

}  // namespace graphel
