#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <vector>

// Work shared by a pool of threads, at most CAPACITY items waiting: a thread that finds it full
// does the work itself, so that memory does not grow with the work there is. The work is done when
// nothing waits and every item taken was finished.
template <typename Item> class WorkQueue
{
  public:
    explicit WorkQueue(std::size_t capacity) : capacity_(capacity) {}

    // Queues the first item, whatever the capacity.
    void start(Item item)
    {
        const std::lock_guard lock(mutex_);
        add(std::move(item));
    }

    // Queues the item unless the queue is full; false then, and the caller does the work itself.
    bool offer(Item item)
    {
        const std::lock_guard lock(mutex_);
        if (waiting_.size() >= capacity_)
            return false;
        add(std::move(item));
        return true;
    }

    // The next item to work on, the newest first; nothing once all work is done.
    std::optional<Item> take()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !waiting_.empty() || unfinished_ == 0; });
        if (waiting_.empty())
            return std::nullopt;
        Item item = std::move(waiting_.back());
        waiting_.pop_back();
        return item;
    }

    // An item returned by take() is done.
    void finished()
    {
        const std::lock_guard lock(mutex_);
        if (--unfinished_ == 0)
            changed_.notify_all();
    }

  private:
    void add(Item item)
    {
        waiting_.push_back(std::move(item));
        ++unfinished_;
        changed_.notify_one();
    }

    const std::size_t capacity_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Item> waiting_;
    std::size_t unfinished_ = 0; // waiting or being worked on
};
