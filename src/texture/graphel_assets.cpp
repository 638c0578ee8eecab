#include "host/asset_enum.h"
#include "host/host_interface.h"
#include "host/scene_io.h"
#include "texture/file_button_text.h"
#include "texture/graphel.h"

namespace graphel {
namespace {

// The texture's file as the host's asset tracking sees it; a re-path writes "vectorfile" at time 0,
// which loads the file from its new place.
class GraphelPathAccessor final : public zal::AssetAccessor {
 public:
  explicit GraphelPathAccessor(zal::IParamBlock2& params) : params_(params) {}

  std::u16string GetPath() const override { return params_.GetStr(kVectorFile); }
  bool SetPath(std::u16string_view path) override { return params_.SetValue(kVectorFile, 0, path); }
  int GetAssetType() const override { return zal::kAssetTypeBitmap; }
  bool IsInputAsset() const override { return true; }

 private:
  zal::IParamBlock2& params_;
};

class GraphelLoadCallback final : public zal::PostLoadCallback {
 public:
  explicit GraphelLoadCallback(Graphel& texture) : texture_(texture) {}
  void Proc() override { texture_.ReloadAfterSceneLoad(); }

 private:
  Graphel& texture_;
};

}  // namespace

std::u16string Graphel::FileButtonText() { return graphel::FileButtonText(path_); }

void Graphel::UpdateForRenderer(zal::TimeValue t) {
  zal::Interval valid = zal::FOREVER;
  Update(t, valid);
  const document::VectorDocument* loaded = cache_.Document();
  if (loaded != nullptr && loaded->HasScriptExpressions()) scriptCallback_->SetTime(t);
}

void Graphel::Load(zal::ILoad& iload) { iload.RegisterPostLoadCallback(std::make_unique<GraphelLoadCallback>(*this)); }

void Graphel::ReloadAfterSceneLoad() {
  const zal::TimeValue t = zal::GetCOREInterface()->GetTime();
  zal::Interval valid = zal::FOREVER;
  Update(t, valid);
  forceReload_ = true;
  Load();
  const document::VectorDocument* loaded = cache_.Document();
  if (loaded != nullptr && loaded->HasScriptExpressions()) Refresh();
  ivalid_.SetEmpty();
}

void Graphel::EnumAuxFiles(zal::AssetEnumCallback& callback, unsigned flags) {
  if ((flags & zal::FILE_ENUM_CHECK_AWORK1) != 0 && TestWorkFlag()) return;
  SetWorkFlag(true);
  if ((flags & zal::FILE_ENUM_ACCESSOR_INTERFACE) != 0 && blocks_[kParamsBlock] != nullptr) {
    GraphelPathAccessor accessor(*blocks_[kParamsBlock]);
    callback.RecordAsset(accessor);
  }
}

}  // namespace graphel
