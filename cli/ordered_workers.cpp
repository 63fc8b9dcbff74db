// The worker threads of a run and the in-order hand-back of their jobs.
#include "cli/ordered_workers.h"

#include <new>
#include <system_error>

OrderedWorkers::OrderedWorkers(unsigned threads, size_t jobs, std::function<void(size_t)> work)
    : work_(std::move(work)), done_(jobs, 0)
{
    // One job at a time needs no thread of its own: the caller's thread runs each in Submit.
    if (threads < 2) {
        return;
    }
    threads_.reserve(threads);
    for (unsigned i = 0; i < threads; ++i) {
        try {
            threads_.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            break;
        } catch (const std::bad_alloc&) {
            break;
        }
    }
}

OrderedWorkers::~OrderedWorkers()
{
    Stop();
}

void OrderedWorkers::Stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    waiting_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
    threads_.clear();
}

void OrderedWorkers::Run(size_t job)
{
    work_(job);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done_[job] = 1;
    }
    finished_.notify_all();
}

void OrderedWorkers::Work()
{
    for (;;) {
        size_t job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            waiting_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) {
                return;
            }
            job = queue_.front();
            queue_.pop_front();
        }
        Run(job);
    }
}

void OrderedWorkers::Submit(size_t job)
{
    if (threads_.empty()) {
        Run(job);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(job);
    }
    waiting_.notify_one();
}

void OrderedWorkers::WaitFor(size_t job)
{
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [this, job] { return done_[job] != 0; });
}
