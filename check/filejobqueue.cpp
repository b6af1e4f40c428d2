#include "check/filejobqueue.h"

#include "check/documentcheck.h"
#include "check/topicrecordcheck.h"

#include "core/datafile.h"
#include "check/checktext.h"

#include <new>

using namespace Qt::StringLiterals;

void FileJob::run(const QString &programDir)
{
    try {
        check(programDir);
    } catch (const std::bad_alloc &) {
        // Whatever this file needed, the next one may fit.
        tables.reset();
        report.error(file, 0, u"za mało pamięci, aby sprawdzić plik"_s);
    }
    // What is not needed any more goes on this thread, which made it.
    fields.reset();
    source = TopicSource();
    if (tables)
        tables->releaseScratch();
}

void FileJob::check(const QString &programDir)
{
    if (topic < 0) {
        DocumentCheck(report, programDir).check(file, ifMissing);
        return;
    }
    // The viewer opens a topic only when its file is a regular file; it
    // treats anything else (a FIFO, a device, a directory) as missing.
    std::optional<DataFile> data;
    if (fileLine > 0) {
        if (Wexal::Check::leavesProgramDir(file))
            report.warning(source.file, fileLine, Wexal::Check::leavesProgramDirWarning(file));
        data.emplace(DataFile::read(programDir + file, table ? DataFile::Kind::TableTopic : DataFile::Kind::TextTopic));
        if (data->status() == DataFile::Status::Missing) {
            TopicRecordCheck::reportMissingFile(report, source, file, fileLine);
            data.reset();
        } else if (data->status() == DataFile::Status::NotRegular) {
            TopicRecordCheck::reportNotRegularFile(report, source, file, fileLine, data->reason());
            data.reset();
        }
    }
    if (table) {
        tables.emplace(report);
        tables->check(topic, *fields, source, file, data ? &*data : nullptr);
    } else if (readDocument && data) {
        DocumentCheck(report, programDir).check(file, QString(), &*data);
    }
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
