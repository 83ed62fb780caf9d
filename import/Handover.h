#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>

// Hands items from one thread to another, in order. Put never waits; Take
// waits for the next item and answers none once the giver has closed and
// every item is taken, or raises the failure the giver closed with.
template <typename T>
class Handover {
public:
    void Put(T item) {
        {
            const std::lock_guard lock(mutex_);
            items_.push_back(std::move(item));
        }
        ready_.notify_one();
    }

    void Close(std::exception_ptr failure = nullptr) {
        {
            const std::lock_guard lock(mutex_);
            closed_ = true;
            failure_ = std::move(failure);
        }
        ready_.notify_one();
    }

    std::optional<T> Take() {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return !items_.empty() || closed_; });
        if (!items_.empty()) {
            T item = std::move(items_.front());
            items_.pop_front();
            return item;
        }
        if (failure_) std::rethrow_exception(failure_);
        return std::nullopt;
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<T> items_;
    bool closed_ = false;
    std::exception_ptr failure_;
};
