#pragma once

#include <memory>
#include <vector>

#include "host/zal_api.h"

namespace zal {

// Work an object asks the host to do once the whole scene has been read, when every object it
// refers to exists.
class ZAL_API PostLoadCallback {
 public:
  virtual ~PostLoadCallback();
  virtual void Proc() = 0;
};

// The host's side of reading a scene, as objects see it while they are loaded.
class ZAL_API ILoad {
 public:
  ILoad();
  ~ILoad();
  ILoad(const ILoad&) = delete;
  ILoad& operator=(const ILoad&) = delete;

  void RegisterPostLoadCallback(std::unique_ptr<PostLoadCallback> callback);
  // Runs the callbacks in the order they came, once each.
  void RunPostLoadCallbacks();

 private:
  std::vector<std::unique_ptr<PostLoadCallback>> callbacks_;
};

}  // namespace zal
