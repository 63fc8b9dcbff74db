// Jobs run on worker threads while the thread that gives them waits for each result in the
// order the jobs were given, so that what a run prints never depends on which job ends first.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class OrderedWorkers {
public:
    // Up to `threads` workers for jobs 0 to `jobs` - 1; `work` runs once per submitted job and
    // reports its failures in its result, never by throwing. With one thread, or where no
    // thread can be started, each job runs on the caller's thread in Submit.
    OrderedWorkers(unsigned threads, size_t jobs, std::function<void(size_t)> work);
    OrderedWorkers(const OrderedWorkers&) = delete;
    OrderedWorkers& operator=(const OrderedWorkers&) = delete;
    // Jobs still waiting are dropped; those under way are finished first.
    ~OrderedWorkers();

    // Drops the jobs still waiting, lets those under way finish and ends the threads: from then
    // on each job runs on the caller's thread in Submit, and a dropped job may be submitted
    // again.
    void Stop();

    void Submit(size_t job);
    // Returns once work(job) has returned; the job must have been submitted.
    void WaitFor(size_t job);

    size_t Threads() const { return threads_.size(); }

private:
    void Work();
    void Run(size_t job);

    std::function<void(size_t)> work_;
    std::mutex mutex_;
    std::condition_variable waiting_;
    std::condition_variable finished_;
    std::deque<size_t> queue_;
    std::vector<char> done_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};
