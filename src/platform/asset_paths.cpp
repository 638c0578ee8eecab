#include "platform/asset_paths.h"

#include <vector>

namespace platform {
namespace {

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

bool EndsWithSeparator(std::u16string_view text) { return !text.empty() && IsSeparator(text.back()); }

// "C:..." names a drive and replaces whatever came before it.
bool HasDrive(std::u16string_view text) { return text.size() >= 2 && text[1] == u':'; }

}  // namespace

std::u16string CanonicalisePath(std::u16string_view path) {
  std::u16string result;
  if (HasDrive(path)) {
    result.assign(path.substr(0, 2));
    path.remove_prefix(2);
  }
  const bool absolute = !path.empty() && IsSeparator(path.front());
  const bool trailing = EndsWithSeparator(path);

  std::vector<std::u16string_view> segments;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    const std::u16string_view segment = path.substr(start, end - start);
    if (segment == u"..") {
      if (!segments.empty() && segments.back() != u"..") {
        segments.pop_back();
      } else if (!absolute) {
        segments.push_back(segment);
      }
    } else if (!segment.empty() && segment != u".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }

  if (absolute) result += u'/';
  for (size_t i = 0; i < segments.size(); ++i) {
    if (i > 0) result += u'/';
    result.append(segments[i]);
  }
  if (trailing && !segments.empty()) result += u'/';
  return result;
}

bool ResolveFilePath(std::u16string_view basePath, std::u16string_view baseReference, std::u16string_view reference,
                     ResolvedAsset& out) {
  out = ResolvedAsset{};
  if (basePath.size() >= kMaxAssetPath) return false;
  std::u16string path(basePath);
  if (!path.empty() && !EndsWithSeparator(path)) path += u'/';

  if (!baseReference.empty()) {
    if (HasDrive(baseReference) || IsSeparator(baseReference.front())) {
      path.assign(baseReference);
    } else {
      path.append(baseReference);
    }
    if (!EndsWithSeparator(path)) path += u'/';
    if (path.size() > kMaxAssetPath) return false;
  }

  if (reference.size() <= 1) return false;
  if (reference.front() == u'#') {
    path.append(reference.substr(1));
  } else if (HasDrive(reference)) {
    path.assign(reference);
  } else {
    // A reference that starts with a separator is still taken below the drawing's folder.
    path.append(reference);
  }
  if (path.size() > kMaxAssetPath) return false;

  const size_t hash = path.rfind(u'#');
  if (hash != std::u16string::npos) {
    out.fragment = path.substr(hash + 1);
    path.resize(hash);
  }
  out.path = CanonicalisePath(path);
  if (out.path.empty() && out.fragment.empty()) {
    out = ResolvedAsset{};
    return false;
  }
  return true;
}

}  // namespace platform
