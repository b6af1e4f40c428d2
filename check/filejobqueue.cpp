#include "check/filejobqueue.h"

#include "check/documentcheck.h"
#include "check/topicrecordcheck.h"

#include <QFile>
#include <QFileInfo>

void FileJob::run(const QString &programDir)
{
    // The viewer opens a topic only when its file is there; a file that
    // opens is (a directory does not), and only one that does not needs a
    // second look.
    QFile device(programDir + file);
    bool found = false;
    if (fileLine > 0) {
        found = device.open(QIODevice::ReadOnly) || QFileInfo(device.fileName()).isFile();
        if (!found)
            TopicRecordCheck::reportMissingFile(report, source, file, fileLine);
    }
    if (table) {
        tables.emplace(report);
        tables->check(topic, *fields, source, file, found ? &device : nullptr);
    } else if (topic < 0) {
        DocumentCheck(report, programDir).check(file, ifMissing);
    } else if (readDocument && found) {
        DocumentCheck(report, programDir).check(file, QString(), &device);
    }
    // What is not needed any more goes on this thread, which made it.
    fields.reset();
    source = TopicSource();
    if (tables)
        tables->releaseScratch();
}

FileJobQueue::FileJobQueue(const QString &programDir, int threads) : m_programDir(programDir)
{
    for (int t = 1; t < threads; ++t)
        m_helpers.emplace_back([this]() { work(); });
}

FileJobQueue::~FileJobQueue()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_closed = true;
    }
    m_wake.notify_all();
    for (std::thread &helper : m_helpers)
        helper.join();
}

void FileJobQueue::add(std::unique_ptr<FileJob> job)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void FileJobQueue::work()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this]() { return m_next < m_jobs.size() || m_closed; });
        if (m_next >= m_jobs.size())
            return; // closed and nothing left
        FileJob *job = m_jobs[m_next++].get();
        lock.unlock();
        job->run(m_programDir);
        lock.lock();
    }
}

void FileJobQueue::finish(const std::function<void(FileJob &)> &collect)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_closed = true;
    }
    m_wake.notify_all();
    work();
    for (std::thread &helper : m_helpers)
        helper.join();
    m_helpers.clear();
    for (const std::unique_ptr<FileJob> &job : m_jobs)
        collect(*job);
}
