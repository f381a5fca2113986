#include "BackgroundWriter.h"

#include <QCoreApplication>

BackgroundWriter::BackgroundWriter() : m_thread([this] { Run(); }) {}

BackgroundWriter::~BackgroundWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

BackgroundWriter& BackgroundWriter::Instance()
{
    static BackgroundWriter writer;
    static const bool drainsAtQuit = [] {
        // The event loop ends before the windows' objects go: what they asked for lands first.
        if (QCoreApplication* app = QCoreApplication::instance())
            QObject::connect(app, &QCoreApplication::aboutToQuit, app, [] { writer.WaitForAll(); });
        return true;
    }();
    Q_UNUSED(drainsAtQuit);
    return writer;
}

void BackgroundWriter::Post(std::function<void()> job)
{
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_changed.notify_all();
}

void BackgroundWriter::WaitForAll()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_jobs.empty() && !m_running; });
}

void BackgroundWriter::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty())
            return; // stopping, and nothing is left to write
        std::function<void()> job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_running = true;
        lock.unlock();
        job();
        job = nullptr; // what the job held goes on this thread, before it counts as done
        lock.lock();
        m_running = false;
        m_changed.notify_all();
    }
}
