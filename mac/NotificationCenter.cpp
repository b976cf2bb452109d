#include "mac/NotificationCenter.h"

#include <algorithm>
#include <utility>

namespace penmac {

NotificationCenter::NotificationCenter(IMainQueueWaker& waker) : waker_(waker), ring_(kCapacity) {}

ObserverToken NotificationCenter::AddObserverOnMainQueue(std::string_view name,
                                                         std::function<void(const Notification&)> handler) {
  const ObserverToken token = nextToken_++;
  observers_.push_back(Observer{token, std::string(name), std::move(handler)});
  return token;
}

void NotificationCenter::RemoveObserver(ObserverToken token) {
  std::erase_if(observers_, [token](const Observer& o) { return o.token == token; });
}

void NotificationCenter::Post(Notification notification) {
  bool wasEmpty = false;
  {
    std::unique_lock lock(mutex_);
    room_.wait(lock, [this] { return count_ < ring_.size() || shutdown_; });
    if (shutdown_) return;
    ring_[(head_ + count_) % ring_.size()] = std::move(notification);
    wasEmpty = count_ == 0;
    ++count_;
  }
  // One wake per batch: while the main thread has not emptied the queue it
  // is already going to look again.
  if (wasEmpty) waker_.Wake();
}

size_t NotificationCenter::DrainMainQueue() {
  // An observer that runs a nested event loop (a modal alert) would come
  // back here from inside itself: the later notifications would reach every
  // observer before the rest of them had seen the one being delivered (a
  // removal before the menu had heard of the arrival). They wait instead for
  // the drain that is running, which goes on once the observer returns.
  if (draining_) return 0;
  draining_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{draining_};
  size_t delivered = 0;
  for (;;) {
    Notification n;
    {
      std::lock_guard lock(mutex_);
      if (count_ == 0) break;
      n = std::move(ring_[head_]);
      ring_[head_].object = std::monostate{};  // a device reference is not kept alive by a used slot
      head_ = (head_ + 1) % ring_.size();
      --count_;
    }
    room_.notify_one();
    ++delivered;
    // Observers come and go with the objects that own them, not from inside
    // a handler; the bound is re-read so that one added meanwhile is safe.
    for (size_t i = 0; i < observers_.size(); ++i) {
      if (observers_[i].name == n.name) observers_[i].handler(n);
    }
  }
  return delivered;
}

void NotificationCenter::Shutdown() {
  {
    std::lock_guard lock(mutex_);
    shutdown_ = true;
  }
  room_.notify_all();
}

}  // namespace penmac
