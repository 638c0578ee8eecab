#include "host/scene.h"

#include <fstream>
#include <iterator>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "host/param_block.h"
#include "host/scene_io.h"
#include "platform/regular_file.h"
#include "platform/wide_text.h"

namespace zal {
namespace {

using Json = nlohmann::json;

constexpr const char* kFormat = "graphel-scene";
constexpr int kVersion = 1;

Json ColourJson(const AColor& c) { return Json::array({c.r, c.g, c.b, c.a}); }

Json ParamJson(const ParamDef& def, const ParamState& state) {
  Json param = {{"id", def.id}, {"name", def.name}};
  switch (def.type) {
    case TYPE_FLOAT:
    case TYPE_INT:
    case TYPE_BOOL:
      param["number"] = state.number;
      break;
    case TYPE_FRGBA:
      param["colour"] = ColourJson(state.colour);
      break;
    case TYPE_FILENAME:
    case TYPE_STRING:
      param["text"] = platform::WideToUtf8(state.text);
      break;
    default:
      return nullptr;
  }
  if (!state.keys.empty()) {
    Json keys = Json::array();
    for (const ParamKey& key : state.keys) {
      keys.push_back(def.type == TYPE_FRGBA ? Json{{"time", key.time}, {"colour", ColourJson(key.colour)}}
                                            : Json{{"time", key.time}, {"number", key.number}});
    }
    param["keys"] = std::move(keys);
  }
  return param;
}

Json TextureJson(const Scene::Entry& entry) {
  const Class_ID id = entry.texture->ClassID();
  Json blocks = Json::array();
  for (int i = 0; i < entry.texture->NumParamBlocks(); ++i) {
    const IParamBlock2* block = entry.texture->GetParamBlock(i);
    if (block == nullptr) continue;
    Json params = Json::array();
    for (const ParamDef& def : block->GetDesc().params) {
      ParamState state;
      if (!block->State(def.id, state)) continue;
      if (Json param = ParamJson(def, state); !param.is_null()) params.push_back(std::move(param));
    }
    blocks.push_back({{"id", block->ID()}, {"name", block->GetDesc().internalName}, {"params", std::move(params)}});
  }
  return {{"name", platform::WideToUtf8(entry.name)}, {"class", {id.a, id.b}}, {"blocks", std::move(blocks)}};
}

// The colour in value, or false when it is not four numbers.
bool ReadColour(const Json& value, AColor& colour) {
  if (!value.is_array() || value.size() != 4) return false;
  for (const Json& channel : value) {
    if (!channel.is_number()) return false;
  }
  colour = AColor{value[0].get<float>(), value[1].get<float>(), value[2].get<float>(), value[3].get<float>()};
  return true;
}

// Fills state from a saved parameter of the type def declares; false when the file lies about it.
bool ReadParam(const ParamDef& def, const Json& param, ParamState& state) {
  switch (def.type) {
    case TYPE_FLOAT:
    case TYPE_INT:
    case TYPE_BOOL:
      if (!param.contains("number") || !param["number"].is_number()) return false;
      state.number = param["number"].get<double>();
      if (!std::isfinite(state.number)) return false;
      break;
    case TYPE_FRGBA:
      if (!param.contains("colour") || !ReadColour(param["colour"], state.colour)) return false;
      break;
    case TYPE_FILENAME:
    case TYPE_STRING:
      if (!param.contains("text") || !param["text"].is_string()) return false;
      state.text = platform::Utf8ToWide(param["text"].get<std::string>());
      break;
    default:
      return false;
  }
  if (!param.contains("keys")) return true;
  if (!param["keys"].is_array()) return false;
  for (const Json& saved : param["keys"]) {
    ParamKey key;
    if (!saved.is_object() || !saved.contains("time") || !saved["time"].is_number_integer()) return false;
    key.time = saved["time"].get<TimeValue>();
    const bool read = def.type == TYPE_FRGBA
                          ? saved.contains("colour") && ReadColour(saved["colour"], key.colour)
                          : saved.contains("number") && saved["number"].is_number();
    if (!read) return false;
    if (def.type != TYPE_FRGBA) key.number = saved["number"].get<double>();
    state.keys.push_back(key);
  }
  return true;
}

std::string Where(const std::string& texture, const std::string& detail) {
  return "texture \"" + texture + "\": " + detail;
}

void RestoreBlocks(Texmap& texture, const Json& blocks, const std::string& name, std::vector<std::string>& messages) {
  if (!blocks.is_array()) {
    messages.push_back(Where(name, "its blocks are not a list; defaults are used"));
    return;
  }
  for (const Json& saved : blocks) {
    IParamBlock2* block = saved.is_object() && saved.contains("id") && saved["id"].is_number_integer()
                              ? texture.GetParamBlockByID(saved["id"].get<BlockID>())
                              : nullptr;
    if (block == nullptr || !saved.contains("params") || !saved["params"].is_array()) {
      messages.push_back(Where(name, "a block that the texture does not have was left out"));
      continue;
    }
    for (const Json& param : saved["params"]) {
      const ParamDef* def = param.is_object() && param.contains("id") && param["id"].is_number_integer()
                                ? block->GetDesc().FindParam(param["id"].get<ParamID>())
                                : nullptr;
      ParamState state;
      if (def == nullptr || !ReadParam(*def, param, state) || !block->Restore(def->id, state)) {
        const std::string label = param.is_object() && param.contains("name") && param["name"].is_string()
                                      ? param["name"].get<std::string>()
                                      : std::string("?");
        messages.push_back(Where(name, "parameter \"" + label + "\" could not be read; its default is used"));
      }
    }
  }
}

// The texture entries the file holds in full: a file cut short keeps those before the cut.
std::vector<Json> ReadTextureEntries(const std::string& text, std::vector<std::string>& messages, bool& isScene) {
  std::vector<Json> entries;
  bool formatSeen = false;
  const auto keep = [&](int depth, Json::parse_event_t event, Json& parsed) {
    if (event == Json::parse_event_t::object_end && depth == 2) entries.push_back(parsed);
    if (event == Json::parse_event_t::value && depth == 1 && parsed == kFormat) formatSeen = true;
    return true;
  };
  const Json whole = Json::parse(text, keep, false);
  isScene = formatSeen;
  if (whole.is_discarded() && isScene) {
    messages.push_back("the scene file is cut short or damaged; what came before is used");
  }
  return entries;
}

}  // namespace

Scene::~Scene() { Clear(); }

void Scene::Add(std::u16string name, Texmap* texture) {
  if (texture != nullptr) entries_.push_back(Entry{std::move(name), texture});
}

void Scene::Clear() {
  for (Entry& entry : entries_) entry.texture->DeleteThis();
  entries_.clear();
}

bool Scene::Save(const std::string& path, std::string& error) const {
  Json textures = Json::array();
  for (const Entry& entry : entries_) textures.push_back(TextureJson(entry));
  const Json scene = {{"format", kFormat}, {"version", kVersion}, {"textures", std::move(textures)}};
  const std::string temporary = path + ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << scene.dump(2) << "\n";
    if (!out) {
      error = path + ": can't write the scene";
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = path + ": can't write the scene";
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

bool Scene::Open(const std::string& path, std::span<ClassDesc* const> classes, std::vector<std::string>& messages) {
  std::string text;
  std::string reason;
  if (!platform::ReadRegularFile(path, kMaxSceneFileBytes, text, reason)) {
    messages.push_back(path + ": " + reason);
    return false;
  }
  bool isScene = false;
  const std::vector<Json> saved = ReadTextureEntries(text, messages, isScene);
  if (!isScene && saved.empty()) {
    messages.push_back(path + ": not a scene file");
    return false;
  }
  Clear();
  ILoad iload;
  for (const Json& entry : saved) {
    const std::string name = entry.contains("name") && entry["name"].is_string() ? entry["name"].get<std::string>() : "";
    const Json classId = entry.contains("class") ? entry["class"] : Json();
    ClassDesc* desc = nullptr;
    if (classId.is_array() && classId.size() == 2 && classId[0].is_number_unsigned() && classId[1].is_number_unsigned()) {
      const Class_ID id{classId[0].get<uint32_t>(), classId[1].get<uint32_t>()};
      for (ClassDesc* candidate : classes) {
        if (candidate != nullptr && candidate->SuperClassID() == TEXMAP_CLASS_ID && candidate->ClassID() == id)
          desc = candidate;
      }
    }
    auto* texture = desc != nullptr ? dynamic_cast<Texmap*>(desc->Create(true)) : nullptr;
    if (texture == nullptr) {
      messages.push_back(Where(name, "no loaded plug-in makes its class; left out"));
      continue;
    }
    RestoreBlocks(*texture, entry.contains("blocks") ? entry["blocks"] : Json(), name, messages);
    texture->Load(iload);
    Add(platform::Utf8ToWide(name), texture);
  }
  iload.RunPostLoadCallbacks();
  return true;
}

void Scene::EnumAssets(AssetEnumCallback& callback, unsigned flags) {
  for (Entry& entry : entries_) entry.texture->SetWorkFlag(false);
  for (Entry& entry : entries_) entry.texture->EnumAuxFiles(callback, flags);
}

}  // namespace zal
