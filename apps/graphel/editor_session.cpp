#include "editor_session.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "host/bitmap.h"
#include "host/param_block.h"
#include "platform/png_file.h"
#include "platform/wide_text.h"
#include "shade_image.h"
#include "texture/graphel.h"
#include "texture/panel_messages.h"
#include "texture/panel_model.h"

namespace graphel_cli {

namespace {

std::string HexColour(const zal::AColor& colour) {
  auto byte = [](float channel) { return static_cast<int>(std::lround(std::clamp(channel, 0.0f, 1.0f) * 255.0f)); };
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", byte(colour.r), byte(colour.g), byte(colour.b));
  return text;
}

nlohmann::json ParamJson(const zal::IParamBlock2& block, const zal::ParamDef& def, zal::TimeValue t) {
  switch (def.type) {
    case zal::TYPE_FLOAT:
      return block.GetFloat(def.id, t);
    case zal::TYPE_INT:
      return block.GetInt(def.id, t);
    case zal::TYPE_BOOL:
      return block.GetInt(def.id, t) != 0;
    case zal::TYPE_FRGBA:
      return HexColour(block.GetAColor(def.id, t));
    case zal::TYPE_FILENAME:
    case zal::TYPE_STRING:
      return platform::WideToUtf8(block.GetStr(def.id));
    default:
      return nullptr;
  }
}

// A value from the page as the command line would type it, so one parser reads both.
std::optional<std::string> ValueText(const nlohmann::json& value) {
  if (value.is_boolean()) return value.get<bool>() ? "true" : "false";
  if (value.is_string()) return value.get<std::string>();
  if (value.is_number()) {
    char text[32];
    const auto [end, status] = std::to_chars(text, text + sizeof text, value.get<double>());
    if (status != std::errc()) return std::nullopt;
    return std::string(text, end);
  }
  return std::nullopt;
}

std::optional<double> NumberField(const nlohmann::json& object, const char* name) {
  const auto it = object.find(name);
  if (it == object.end() || !it->is_number()) return std::nullopt;
  return it->get<double>();
}

}  // namespace

nlohmann::json DirectionRingMap() {
  nlohmann::json sectors = nlohmann::json::array();
  for (int y = 0; y < graphel::kDirectionRingSize; ++y) {
    for (int x = 0; x < graphel::kDirectionRingSize; ++x) sectors.push_back(graphel::DirectionSectorAt(x, y));
  }
  return {{"size", graphel::kDirectionRingSize}, {"sectors", sectors}};
}

void AdvancedPanelWindow::PostMessage(uint32_t message, uint64_t wParam, std::u16string text) {
  const std::lock_guard lock(mutex_);
  if (message == graphel::kShowMegabytesMessage) {
    memoryText_ = graphel::MemoryText(static_cast<int>(std::min<uint64_t>(wParam, INT32_MAX)));
  } else if (message == graphel::kAddMessageMessage) {
    std::string entry = platform::WideToUtf8(text);
    if (std::find(list_.begin(), list_.end(), entry) == list_.end()) list_.push_back(std::move(entry));
  }
}

std::vector<std::string> AdvancedPanelWindow::List() const {
  const std::lock_guard lock(mutex_);
  return list_;
}

std::string AdvancedPanelWindow::MemoryText() const {
  const std::lock_guard lock(mutex_);
  return memoryText_;
}

void AdvancedPanelWindow::ClearList() {
  const std::lock_guard lock(mutex_);
  list_.clear();
}

EditorSession::EditorSession(EditorFolders folders) : folders_(std::move(folders)) {}

EditorSession::~EditorSession() {
  // The panel closes before the texture goes.
  if (revision_ > 0) host_.Probe().SetMessageTarget(nullptr);
}

bool EditorSession::Open(const std::string& file, std::string& error) {
  const std::lock_guard lock(mutex_);
  if (!host_.Open(error)) return false;
  host_.Probe().SetMessageTarget(&advanced_);
  revision_ = 1;
  if (!file.empty()) {
    std::string ignored;
    host_.SetFile(file, ignored);
  }
  UpdateTexture();
  return true;
}

void EditorSession::UpdateTexture() {
  host_.Update(0);
  KeepPanelRules();
}

void EditorSession::KeepPanelRules() {
  zal::Texmap& texture = host_.Texture();
  const graphel::PanelFacts facts = host_.Probe().Panel();
  // The pattern list holds the file's patterns; the held index is kept inside it.
  zal::IParamBlock2* pattern = texture.GetParamBlockByID(graphel::kPatternBlock);
  if (pattern != nullptr && !facts.patternNames.empty()) {
    const int last = static_cast<int>(facts.patternNames.size()) - 1;
    const int index = pattern->GetInt(graphel::kPatternName);
    if (index > last || index < 0) pattern->SetValue(graphel::kPatternName, 0, std::clamp(index, 0, last));
  }
  // The direction control offers only the mode's directions and writes back what it had to change.
  zal::IParamBlock2* pdf = texture.GetParamBlockByID(graphel::kPdfBlock);
  if (pdf != nullptr) {
    const int mode = graphel::ClampTransitionMode(pdf->GetInt(graphel::kTransitionMode));
    const int direction = pdf->GetInt(graphel::kTransitionDir);
    const int offered = graphel::ClampTransitionDirection(mode, direction);
    if (offered != direction) pdf->SetValue(graphel::kTransitionDir, 0, offered);
  }
}

nlohmann::json EditorSession::State() {
  const std::lock_guard lock(mutex_);
  zal::Texmap& texture = host_.Texture();
  nlohmann::json params = nlohmann::json::object();
  nlohmann::json ranges = nlohmann::json::object();
  for (int i = 0; i < texture.NumParamBlocks(); ++i) {
    const zal::IParamBlock2* block = texture.GetParamBlock(i);
    if (block == nullptr) continue;
    for (const zal::ParamDef& def : block->GetDesc().params) {
      nlohmann::json value = ParamJson(*block, def, 0);
      if (value.is_null()) continue;
      params[def.name] = std::move(value);
      if (def.hasRange) ranges[def.name] = {def.rangeMin, def.rangeMax};
    }
  }
  const graphel::PanelFacts facts = host_.Probe().Panel();
  const auto type = static_cast<document::FileType>(facts.documentType);
  const zal::IParamBlock2* main = texture.GetParamBlockByID(graphel::kParamsBlock);
  const zal::IParamBlock2* pdf = texture.GetParamBlockByID(graphel::kPdfBlock);
  const graphel::CropEnabling crop =
      graphel::CropEnablingFor(main->GetInt(graphel::kCropOrPlace) == 1, main->GetInt(graphel::kJitter) != 0);
  const graphel::PdfEnabling pdfEnabling =
      graphel::PdfEnablingFor(type, pdf->GetInt(graphel::kContinuous) != 0, pdf->GetInt(graphel::kTransparent) != 0);
  const int mode = graphel::ClampTransitionMode(pdf->GetInt(graphel::kTransitionMode));
  nlohmann::json offered = nlohmann::json::array();
  for (int direction = 0; direction < 8; ++direction) offered.push_back(graphel::DirectionOffered(mode, direction));

  nlohmann::json patterns = nlohmann::json::array();
  for (const std::u16string& name : facts.patternNames) patterns.push_back(platform::WideToUtf8(name));
  nlohmann::json state = {
      {"revision", revision_},
      {"button", platform::WideToUtf8(host_.Probe().FileButtonText())},
      {"fileType", facts.documentType},
      {"params", params},
      {"ranges", ranges},
      {"enabled",
       {{"jitter", crop.jitter},
        {"offsets", crop.offsets},
        {"pattern", graphel::PatternPanelEnabled(type)},
        {"pdf", pdfEnabling.page},
        {"transition", pdfEnabling.transition},
        {"pagecolor", pdfEnabling.pageColour}}},
      {"patterns", patterns},
      {"pageCount", facts.pageCount},
      {"pageSize", graphel::PageSizeText(facts.pageWidth, facts.pageHeight)},
      {"memory", advanced_.MemoryText()},
      {"messages", advanced_.List()},
      {"offeredDirections", offered},
      {"roots", nlohmann::json::array()},
  };
  for (const auto& root : folders_.Roots()) state["roots"].push_back(root.string());
  if (viewWidth_ > 0) {
    const zal::IParamBlock2& block = *main;
    const graphel::CropFrame frame = graphel::FrameFromCrop(
        {block.GetFloat(graphel::kCropU), block.GetFloat(graphel::kCropV), block.GetFloat(graphel::kCropW),
         block.GetFloat(graphel::kCropH)},
        viewWidth_, viewHeight_);
    state["cropFrame"] = {{"x", frame.x},         {"y", frame.y},           {"width", frame.width},
                          {"height", frame.height}, {"bitmapWidth", viewWidth_}, {"bitmapHeight", viewHeight_}};
  }
  return state;
}

EditorAnswer EditorSession::Fail(int status, const std::string& message) {
  return EditorAnswer{status, {{"error", message}}};
}

EditorAnswer EditorSession::Changed() {
  ++revision_;
  UpdateTexture();
  return EditorAnswer{200, {{"revision", revision_}}};
}

bool EditorSession::Assign(const std::string& name, const std::string& value, std::string& error) {
  return SetTextureParam(host_.Texture(), name + "=" + value, 0, error);
}

EditorAnswer EditorSession::SetParam(const nlohmann::json& request) {
  if (!request.is_object() || !request.contains("name") || !request["name"].is_string() || !request.contains("value")) {
    return Fail(400, "expected {\"name\": parameter, \"value\": value}");
  }
  const std::string name = request["name"].get<std::string>();
  if (name == "vectorfile") return Fail(400, "choose the vector file through the file chooser");
  const std::optional<std::string> value = ValueText(request["value"]);
  if (!value) return Fail(400, "the value of \"" + name + "\" must be a number, true/false or text");
  const std::lock_guard lock(mutex_);
  std::string error;
  if (!Assign(name, *value, error)) return Fail(400, error);
  return Changed();
}

EditorAnswer EditorSession::OpenFile(const std::string& path) {
  const std::optional<std::filesystem::path> resolved = folders_.Resolve(path);
  if (!resolved) return Fail(403, "\"" + path + "\" is not inside a folder opened in the editor");
  if (const auto refusal = graphel::RefuseVectorFile(platform::Utf8ToWide(resolved->string()))) {
    return Fail(415, platform::WideToUtf8(*refusal));
  }
  const std::lock_guard lock(mutex_);
  std::string error;
  if (!host_.SetFile(resolved->string(), error)) return Fail(400, error);
  viewWidth_ = viewHeight_ = 0;
  return Changed();
}

EditorAnswer EditorSession::Reload() {
  const std::lock_guard lock(mutex_);
  auto* scripted = dynamic_cast<graphel::GraphelInterface*>(host_.Texture().GetInterface(graphel::kGraphelInterfaceId));
  if (scripted == nullptr) return Fail(500, "the texture has no \"Reload\"");
  scripted->Reload();
  return Changed();
}

EditorAnswer EditorSession::ClearMessages() {
  const std::lock_guard lock(mutex_);
  advanced_.ClearList();
  host_.Probe().ClearMessages();
  ++revision_;
  return EditorAnswer{200, {{"revision", revision_}}};
}

EditorAnswer EditorSession::SetCropFrame(const nlohmann::json& request) {
  const auto x = request.is_object() ? NumberField(request, "x") : std::nullopt;
  const auto y = request.is_object() ? NumberField(request, "y") : std::nullopt;
  const auto width = request.is_object() ? NumberField(request, "width") : std::nullopt;
  const auto height = request.is_object() ? NumberField(request, "height") : std::nullopt;
  if (!x || !y || !width || !height) return Fail(400, "expected {\"x\", \"y\", \"width\", \"height\"} in pixels");
  const std::lock_guard lock(mutex_);
  if (viewWidth_ <= 0) return Fail(409, "open \"View Image\" before moving the crop frame");
  const graphel::CropFractions crop = graphel::CropFromFrame({*x, *y, *width, *height}, viewWidth_, viewHeight_);
  std::string error;
  const std::pair<const char*, double> values[] = {{"crop_u", crop.u}, {"crop_v", crop.v}, {"crop_w", crop.w}, {"crop_h", crop.h}};
  for (const auto& [name, value] : values) {
    if (!Assign(name, *ValueText(value), error)) return Fail(400, error);
  }
  return Changed();
}

std::string EditorSession::PreviewPng(SceneObject object, int size) {
  const std::lock_guard lock(mutex_);
  ShadeImageSettings settings;
  settings.object = object;
  settings.width = settings.height = size;
  const std::vector<uint8_t> pixels = ShadeImage(host_.Texture(), 0, settings, nullptr);
  return platform::EncodePng(pixels.data(), static_cast<uint32_t>(size), static_cast<uint32_t>(size));
}

std::string EditorSession::ViewImagePng() {
  const std::lock_guard lock(mutex_);
  // The crop editor's picture: the drawing in its own aspect, 1024 on the long side.
  const zal::BitmapPtr bitmap(host_.Probe().MakeBitmap(0, 1024, false, false));
  if (bitmap == nullptr) return {};
  std::vector<uint8_t> bytes(static_cast<size_t>(bitmap->Width()) * bitmap->Height() * 4);
  zal::ReadBytes(*bitmap, bytes.data());
  viewWidth_ = bitmap->Width();
  viewHeight_ = bitmap->Height();
  return platform::EncodePng(bytes.data(), static_cast<uint32_t>(viewWidth_), static_cast<uint32_t>(viewHeight_));
}

}  // namespace graphel_cli
