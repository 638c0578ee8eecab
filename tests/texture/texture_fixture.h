#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/host_interface.h"
#include "host/message_window.h"
#include "host/shade_context.h"
#include "support/test_support.h"
#include "texture/graphel.h"

namespace graphel::testing {

// Drawings whose colours the tests know: the left half of red-square.svg is opaque red and the
// right half transparent; the quarters of quarters.svg are red, green, blue (bottom left) and
// half-transparent white (bottom right).
inline constexpr const char* kHalfRed =
    "<svg width='100' height='100'><rect width='50' height='100' fill='#ff0000'/></svg>";
inline constexpr const char* kQuarters =
    "<svg width='100' height='100'><rect width='50' height='50' fill='#ff0000'/>"
    "<rect x='50' width='50' height='50' fill='#00ff00'/><rect y='50' width='50' height='50' fill='#0000ff'/>"
    "<rect x='50' y='50' width='50' height='50' fill='#ffffff' fill-opacity='0.5'/></svg>";
inline constexpr const char* kWide = "<svg width='200' height='100'><rect width='200' height='100' fill='#00ff00'/></svg>";

// A Graphel texture made the way the host makes it, deleted the way the host deletes it.
struct TextureDeleter {
  void operator()(Graphel* texture) const { texture->DeleteThis(); }
};
using TexturePtr = std::unique_ptr<Graphel, TextureDeleter>;

inline TexturePtr NewTexture() { return TexturePtr(new Graphel()); }

// Writes svg into a fresh scratch folder and returns its path.
inline std::string WriteDrawing(const std::string& testName, const char* svg, const char* fileName = "d.svg") {
  const std::string path = testing_support::ScratchFolder(testName) + "/" + fileName;
  testing_support::WriteFile(path, svg);
  return path;
}

inline void SetFile(Graphel& texture, const std::string& path) {
  texture.GetParamBlockByID(kParamsBlock)->SetValue(kVectorFile, 0, std::u16string_view(testing_support::W(path)));
}

inline void UpdateAt(Graphel& texture, zal::TimeValue t) {
  zal::GetCOREInterface()->SetTime(t);
  zal::Interval valid = zal::FOREVER;
  texture.Update(t, valid);
}

// A new texture showing svg, updated at time 0.
inline TexturePtr LoadedTexture(const std::string& testName, const char* svg) {
  TexturePtr texture = NewTexture();
  SetFile(*texture, WriteDrawing(testName, svg));
  UpdateAt(*texture, 0);
  return texture;
}

inline zal::PointShadeContext At(double u, double v, double du, double dv, zal::TimeValue t = 0) {
  zal::PointShadeContext sc;
  sc.time = t;
  sc.uvw = zal::Point3{u, v, 0.0};
  sc.duvw = zal::Point3{du, dv, 0.0};
  return sc;
}

// A panel window that writes down what it was sent.
class RecordingWindow : public zal::MessageWindow {
 public:
  struct Posted {
    uint32_t message;
    uint64_t wParam;
    std::u16string text;
  };
  void PostMessage(uint32_t message, uint64_t wParam, std::u16string text) override {
    posted.push_back(Posted{message, wParam, std::move(text)});
  }
  std::vector<Posted> posted;
};

}  // namespace graphel::testing
