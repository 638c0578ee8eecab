#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>

#include "document/texture_settings.h"
#include "host/function_publish.h"
#include "host/mtl_base.h"
#include "host/param_block.h"
#include "host/texture_output.h"
#include "host/uvgen.h"
#include "svg/load_result.h"
#include "texture/colour_post.h"
#include "texture/crop_placement.h"
#include "texture/graphel_probe.h"
#include "texture/panel_messages.h"
#include "texture/param_blocks.h"
#include "texture/shader_translation.h"
#include "texture/tile_cache.h"
#include "texture/zal_script_callback.h"

namespace graphel {

inline constexpr zal::Class_ID kGraphelClassId{0x93A92749, 0x6B8D470A};
inline constexpr zal::Interface_ID kGraphelInterfaceId{0x36CB5AEF, 0x71EA0679};
inline constexpr zal::Interface_ID kShaderTranslationInterfaceId = zal::kMrShaderTranslationInterfaceId;

// The texture's scripted functions, by ID.
enum GraphelFunction : zal::FunctionID { kReload = 0, kRefresh = 1, kViewImage = 2, kSetSvgString = 3 };

// The scripted interface of a Graphel texture.
class GraphelInterface : public zal::FPMixinInterface {
 public:
  const zal::FPInterfaceDesc* GetDesc() override;
  zal::FPStatus Invoke(zal::FunctionID id, zal::FPValue& result, const zal::FPParams* params) override;

  virtual void Reload() = 0;
  virtual void Refresh() = 0;
  virtual void ViewImage() = 0;
  virtual bool SetSvgString(std::u16string_view text) = 0;
};

// The parameter values the texture holds between updates.
struct HeldParams {
  bool filter = false;
  bool mipmap = false;
  CropSettings crop;
  OutputSettings output;
  uint64_t memLimitBytes = 0;
  int hwBitmapSize = 1024;
};

// A vector drawing as a texture map: loads the drawing, keeps its raster pyramid and answers the
// host's colour, mono and bump requests from any number of render threads.
class Graphel : public zal::Texmap, public GraphelInterface, public GraphelProbe {
 public:
  Graphel();
  ~Graphel() override;

  // Host object.
  zal::Class_ID ClassID() override { return kGraphelClassId; }
  zal::BaseInterface* GetInterface(zal::Interface_ID id) override;
  int NumRefs() override { return kNumRefs; }
  zal::ReferenceTarget* GetReference(int i) override;
  zal::RefResult NotifyRefChanged(const zal::Interval& changeInterval, zal::ReferenceTarget* target,
                                  zal::PartID part, zal::RefMessage message) override;
  int NumParamBlocks() override { return kNumBlocks; }
  zal::IParamBlock2* GetParamBlock(int i) override;
  zal::IParamBlock2* GetParamBlockByID(zal::BlockID id) override;
  zal::UVGen* GetTheUVGen() override { return uvGen_; }
  void Reset() override;
  zal::Interval Validity(zal::TimeValue t) override;
  void Update(zal::TimeValue t, zal::Interval& valid) override;

  // Evaluation, from render threads.
  zal::AColor EvalColor(zal::ShadeContext& sc) override;
  float EvalMono(zal::ShadeContext& sc) override;
  zal::Point3 EvalNormalPerturb(zal::ShadeContext& sc) override;
  int RenderBegin(zal::TimeValue t, unsigned flags) override;
  int RenderEnd(unsigned flags) override;
  void RenderBitmap(zal::TimeValue t, zal::Bitmap* bitmap, float scale3D, bool filter) override;

  // Scripted functions.
  void Reload() override;
  void Refresh() override;
  void ViewImage() override;
  bool SetSvgString(std::u16string_view text) override;

  // For the stand-in host application.
  zal::AColor ProbeColor(zal::ShadeContext& sc, SampleTrace& trace) override;
  float ProbeMono(zal::ShadeContext& sc, SampleTrace& trace) override;
  zal::Point3 ProbeNormalPerturb(zal::ShadeContext& sc, SampleTrace& trace) override;
  zal::Bitmap* MakeBitmap(zal::TimeValue t, int size, bool mono, bool asTexture) override;
  CacheReport Cache() override;
  void ClearTiles(bool keepLevel10) override;
  std::vector<std::u16string> Messages() override { return messages_.List(); }
  void ClearMessages() override { messages_.Clear(); }
  PanelFacts Panel() override;
  void SetMessageTarget(zal::MessageWindow* window) override { messages_.SetTarget(window); }
  std::u16string FileButtonText() override;

  // The offline renderer: brings the texture up to t, script time included.
  void UpdateForRenderer(zal::TimeValue t);
  // The name the host's offline renderer gives the texture's shader.
  std::u16string InstanceName() const { return u"Graphel"; }

  // Scenes: the post-load reload and the file as an asset.
  void Load(zal::ILoad& iload) override;
  void EnumAuxFiles(zal::AssetEnumCallback& callback, unsigned flags) override;
  // After the whole scene is read: load the file again at the scene's time.
  void ReloadAfterSceneLoad();

  // The set hook of "vectorfile": takes name as the texture's file when it is a supported one.
  void AcceptFile(const std::u16string& name);

  // Reads the pyramid at (u, v) on level: the lock is taken only when the tile is not there yet.
  // Nothing is read when the coordinates object's repeats shrink the drawing to (almost) nothing.
  Rgba ReadTile(double u, double v, double du, double dv, int level, bool filter, int64_t* tileIndex);
  // Whether the coordinates object's repeats shrink the drawing to (almost) nothing, as of the last update.
  bool TilingHidesTexture() const { return tilingHides_; }
  // Finds (rendering it if need be) the tile for a read at (u, v) on level and works out its pixels,
  // without reading them yet; ReadTile once TilingHidesTexture has been asked.
  TileRead PrepareRead(double u, double v, double du, double dv, int level, bool filter, int64_t* tileIndex);

  const HeldParams& Held() const { return held_; }
  double Blur() const { return blur_; }
  double BlurOffset() const { return blurOffset_; }
  bool MirrorU() const { return uMirror_; }
  bool MirrorV() const { return vMirror_; }

 protected:
  void SetReference(int i, zal::ReferenceTarget* target) override;

 private:
  zal::AColor Color(zal::ShadeContext& sc, SampleTrace* trace);
  float Mono(zal::ShadeContext& sc, SampleTrace* trace);
  zal::Point3 NormalPerturb(zal::ShadeContext& sc, SampleTrace* trace);
  // Takes the lock and drops the tiles when a shading context brings a new time.
  void CheckRenderTime(zal::TimeValue t);
  void Prepare(zal::ShadeContext& sc);
  OutputSettings CurrentOutput() const;
  // Takes what samples read but never change from the coordinates object and the host: once per
  // update and render, not once per sample.
  void CacheSampleSettings(zal::TimeValue t);
  static double CurrentGamma();

  // Loading, from the host's main thread.
  void Load();
  // A newly chosen pattern file starts at its first pattern, as the panel's refilled list shows it.
  void ResetPatternChoice();
  void LoadPlaceholderAfter(const std::u16string& shownPath);
  void ReloadOrClear();
  bool ReadParams(zal::TimeValue t);
  bool ReadPatternParams(zal::TimeValue t);
  bool ReadPdfParams(zal::TimeValue t);
  void ResetHeld();
  document::FileType DocumentType() const;
  void SelectPattern();

  zal::UVGen* uvGen_ = nullptr;
  zal::TextureOutput* texout_ = nullptr;
  zal::IParamBlock2* blocks_[kNumBlocks] = {};

  // The texture's one lock: render-time changes, clearing and rendering of tiles, and every use of
  // the document.
  std::mutex lock_;
  // Evaluates the drawing's script expressions; built before the cache, which hands it to documents.
  std::unique_ptr<SvgZalScriptCallback> scriptCallback_;
  TileCache cache_;
  std::atomic<zal::TimeValue> renderTime_{0};
  bool renderMode_ = false;
  PanelMessages messages_;

  zal::Interval ivalid_ = zal::NEVER;
  zal::Interval texoutValid_ = zal::NEVER;
  double blur_ = 1.0;
  double blurOffset_ = 0.0;
  bool uMirror_ = false;
  bool vMirror_ = false;
  bool tilingHides_ = false;
  OutputSettings output_;
  bool forceReload_ = false;
  std::u16string path_;
  std::optional<std::u16string> svgText_;
  svg::LoadError loadError_;
  document::PdfPageSettings pdfSettings_;
  document::PatternSettings patternSettings_;
  HeldParams held_;
  ShaderTranslation shaderTranslation_{*this};
};

}  // namespace graphel
