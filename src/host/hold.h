#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "host/zal_api.h"

namespace zal {

// The host's undo recording. Between Begin and Accept (or Cancel) changes to the scene are
// recorded as one undo entry; while suspended, nothing is recorded. Accepted entries form the undo
// history, which the stand-in keeps as their names so that a test can read it.
class ZAL_API Hold {
 public:
  void Begin();
  // Closes the open operation; when it recorded any change, it joins the history under name.
  void Accept(std::u16string_view name);
  void Cancel();
  // Records one change of the scene, when an operation is open and recording is not suspended.
  void Put(std::u16string_view change);

  bool Holding() const;
  void Suspend();
  void Resume();
  bool IsSuspended() const;

  std::vector<std::u16string> History() const;
  // The changes recorded so far in the open operation.
  size_t PendingChanges() const;
  void ClearHistory();

 private:
  mutable std::mutex mutex_;
  int depth_ = 0;
  int suspended_ = 0;
  std::vector<std::u16string> pending_;
  std::vector<std::u16string> history_;
};

ZAL_API Hold& TheHold();

}  // namespace zal
