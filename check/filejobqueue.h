#pragma once

#include "check/checkreport.h"
#include "check/tablecheck.h"
#include "check/topicfields.h"
#include "check/topicsource.h"

#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// One topic file (or document) to read, with what reading it found. Each is
// checked on its own into its own report; the reports are added up in the
// order the jobs were made, so the result does not depend on which thread
// took which job.
struct FileJob
{
    int topic = -1; // -1 for a document that belongs to no topic
    bool table = false;
    std::optional<TopicFields> fields; // a table topic's record
    TopicSource source;                // a copy: the reading thread goes on adding topics
    QString file;
    int fileLine = 0;         // of FILE=: the file is looked for and its absence reported
    bool readDocument = true; // false for a text topic whose file another topic names first
    QString ifMissing;        // for a document that belongs to no topic

    CheckReport report;
    std::optional<TableCheck> tables;

    // Never throws: a file that needs more memory than there is is reported.
    void run(const QString &programDir);

private:
    void check(const QString &programDir);
};

// Reads topic files on helper threads while the definitions are still being
// read on the calling thread, which joins in once it has no more to add.
class FileJobQueue
{
public:
    // threads: how many threads read files, the calling one included.
    FileJobQueue(const QString &programDir, int threads);
    ~FileJobQueue();
    FileJobQueue(const FileJobQueue &) = delete;
    FileJobQueue &operator=(const FileJobQueue &) = delete;

    void add(std::unique_ptr<FileJob> job);

    // No more jobs: runs what is left here too, waits for the helpers, and
    // hands every job, in the order added, to collect.
    void finish(const std::function<void(FileJob &)> &collect);

private:
    void work();

    QString m_programDir;
    std::mutex m_mutex;
    std::condition_variable m_wake; // a job added, or the queue closed
    std::vector<std::unique_ptr<FileJob>> m_jobs;
    std::size_t m_next = 0;
    bool m_closed = false;
    std::vector<std::thread> m_helpers;
};
