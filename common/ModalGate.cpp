#include "common/ModalGate.h"

namespace pen {

TModalGate& TModalGate::ForThisThread() {
  thread_local TModalGate gate;
  return gate;
}

TModalGate::TScope::TScope(TModalGate& gate, Loop loop) : gate_(gate), loop_(loop) {
  if (loop_ == Loop::kWait) {
    ++gate_.waits_;
  } else {
    ++gate_.modals_;
  }
}

TModalGate::TScope::~TScope() {
  if (loop_ == Loop::kWait) {
    --gate_.waits_;
  } else {
    --gate_.modals_;
  }
  gate_.Left();
}

bool TModalGate::OpenNowOrLater(Event<> repost) {
  if (AtTopLevel()) return true;
  for (size_t i = 0; i < deferredCount_; ++i) {
    if (deferred_[i] == repost) return false;
  }
  if (deferredCount_ < kMaxDeferred) deferred_[deferredCount_++] = repost;
  return false;
}

void TModalGate::Left() {
  if (!AtTopLevel() || deferredCount_ == 0) return;
  // Taken out first: a repost may ask again (it should not, but a loop of
  // requests must not be built here).
  std::array<Event<>, kMaxDeferred> due = deferred_;
  const size_t n = deferredCount_;
  deferredCount_ = 0;
  for (size_t i = 0; i < n; ++i) due[i]();
}

}  // namespace pen
