#pragma once
// One thread that writes files after one another, in the order they were asked for, so that a
// window never waits while a long file is encoded and written. What a job writes must still
// go through SafeFile: a crash mid-write leaves the previous file.
//
// The program's writer (Instance) finishes what it was given before the program ends: when
// the application is about to quit, and again when the writer itself goes at exit.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class BackgroundWriter {
public:
    BackgroundWriter();
    // Runs every job posted before it returns.
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // The program's one writer, created at the first use.
    static BackgroundWriter& Instance();

    // Runs job on the writer's thread after every job posted before it.
    void Post(std::function<void()> job);
    // Returns once every job posted so far has finished.
    void WaitForAll();

private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::function<void()>> m_jobs;
    bool m_running{false}; // a job is being run
    bool m_stopping{false};
    std::thread m_thread; // last: it starts once the members above exist
};
