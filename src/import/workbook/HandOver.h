#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

namespace kq {

// Items passed from one thread to another, a few at a time at most: the
// giver waits for room, the taker for an item. The items the taker is done
// with go back to the giver, which reuses them or frees them on its own
// thread (where they were made: they do not contend with it for its heap).
// What either side keeps for the other beside the items (a failure) it
// writes before finish() or stop(); the other reads it after take() gave
// false or give() gave false.
template <class T>
class HandOver {
  public:
    explicit HandOver(std::size_t room) : room_(room) {}

    // The giver: waits for room and passes item on, leaving in it an item
    // the taker is done with or a new one; false, item untouched, once the
    // taker has stopped.
    bool give(T& item) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return stopped_ || waiting_.size() < room_; });
        if (stopped_) return false;
        waiting_.push_back(std::move(item));
        if (spent_.empty()) {
            item = T();
        } else {
            item = std::move(spent_.back());
            spent_.pop_back();
        }
        lock.unlock();
        changed_.notify_all();
        return true;
    }

    // The giver has no more; the taker still gets those waiting.
    void finish() {
        {
            const std::lock_guard lock(mutex_);
            finished_ = true;
        }
        changed_.notify_all();
    }

    // The taker: waits for the next item and moves it into item, whose old
    // contents go back to the giver while it gives; false once the giver
    // has finished and all are taken.
    bool take(T& item) {
        std::unique_lock lock(mutex_);
        if (!finished_) spent_.push_back(std::move(item));
        changed_.wait(lock, [this] { return finished_ || !waiting_.empty(); });
        if (waiting_.empty()) return false;
        item = std::move(waiting_.front());
        waiting_.pop_front();
        lock.unlock();
        changed_.notify_all();
        return true;
    }

    // The taker takes no more: the giver's next give() gives false.
    void stop() {
        std::deque<T> dropped;
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
            dropped.swap(waiting_);
        }
        changed_.notify_all();
    }

  private:
    const std::size_t room_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<T> waiting_;
    std::vector<T> spent_;
    bool finished_ = false, stopped_ = false;
};

}  // namespace kq
