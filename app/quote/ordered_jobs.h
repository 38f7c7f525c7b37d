#pragma once
// Jobs run on worker threads, their results handed back on the thread that
// gave them, in the order they were given. At most a window of jobs is in
// flight: the giver waits (handing back what is done) while the window is
// full, so a batch of any size holds only a few results at a time. What a
// job throws on a worker is thrown again on the giver's thread, in its turn.

#include <sched.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace kbt2::quote {

// How many threads quote when the command line does not say: one per
// processor this process may run on (taskset, a container's share), not per
// processor of the machine.
inline unsigned defaultWorkers() {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (::sched_getaffinity(0, sizeof allowed, &allowed) == 0 && CPU_COUNT(&allowed) > 0)
        return static_cast<unsigned>(CPU_COUNT(&allowed));
    const unsigned processors = std::thread::hardware_concurrency();
    return processors == 0 ? 1 : processors;
}

template <class Result>
class OrderedJobs {
public:
    using Job = std::function<Result()>;
    using Deliver = std::function<void(Result&&)>;

    // With fewer than two workers every job runs on the giver's thread at
    // once, as a plain loop would run it.
    OrderedJobs(unsigned workers, Deliver deliver)
        : deliver_(std::move(deliver)), window_(workers < 2 ? 1 : size_t{8} * workers), done_(window_) {
        if (workers < 2) return;
        for (unsigned i = 0; i < workers; ++i) threads_.emplace_back([this] { work(); });
    }
    OrderedJobs(const OrderedJobs&) = delete;
    OrderedJobs& operator=(const OrderedJobs&) = delete;
    ~OrderedJobs() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        jobReady_.notify_all();
        for (std::thread& t : threads_) t.join();
    }

    void add(Job job) {
        if (threads_.empty()) {
            deliver_(job());
            return;
        }
        std::unique_lock lock(mutex_);
        while (given_ - delivered_ >= window_) deliverReady(lock, true);
        queue_.emplace_back(given_++, std::move(job));
        lock.unlock();
        jobReady_.notify_one();
        lock.lock();
        deliverReady(lock, false);
    }

    // Hands back every result still owed.
    void finish() {
        if (threads_.empty()) return;
        std::unique_lock lock(mutex_);
        while (delivered_ < given_) deliverReady(lock, true);
    }

private:
    // Hands back the results that are next in order; with `wait`, first
    // waits for the next one.
    void deliverReady(std::unique_lock<std::mutex>& lock, bool wait) {
        if (wait) resultReady_.wait(lock, [this] { return done_[delivered_ % window_].has_value(); });
        while (delivered_ < given_ && done_[delivered_ % window_]) {
            Outcome outcome = std::move(*done_[delivered_ % window_]);
            done_[delivered_ % window_].reset();
            ++delivered_;
            lock.unlock();
            if (outcome.thrown) {
                lock.lock();
                std::rethrow_exception(outcome.thrown);
            }
            deliver_(std::move(*outcome.result));
            lock.lock();
        }
    }

    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            jobReady_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) return;
            auto [number, job] = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            Outcome outcome;
            try {
                outcome.result.emplace(job());
            } catch (...) {
                outcome.thrown = std::current_exception();
            }
            lock.lock();
            done_[number % window_] = std::move(outcome);
            resultReady_.notify_one();
        }
    }

    // A job's result, or what it threw.
    struct Outcome {
        std::optional<Result> result;
        std::exception_ptr thrown;
    };

    Deliver deliver_;
    size_t window_;
    std::vector<std::optional<Outcome>> done_;  // by job number modulo the window
    std::deque<std::pair<size_t, Job>> queue_;
    size_t given_ = 0;
    size_t delivered_ = 0;
    bool stopping_ = false;
    std::mutex mutex_;
    std::condition_variable jobReady_;
    std::condition_variable resultReady_;
    std::vector<std::thread> threads_;
};

}  // namespace kbt2::quote
