#include "check/datachecker.h"

#include "check/definitioncheck.h"
#include "check/filejobqueue.h"
#include "check/linkcheck.h"
#include "check/tablecheck.h"
#include "check/topicfields.h"
#include "check/topicrecordcheck.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThread>

#include <memory>

#include <unistd.h>

using namespace Qt::StringLiterals;

DataChecker::DataChecker(const QString &programDir, int threads)
    : m_programDir(programDir), m_threads(threads > 0 ? threads : qMax(1, QThread::idealThreadCount()))
{
}

DataChecker::Status DataChecker::run()
{
    // The viewer opens its files by name: a directory it may search (an
    // execute-only one included) is one it can use, whether it can be
    // listed or not.
    if (!QFileInfo(m_programDir).isDir() || ::access(QFile::encodeName(m_programDir).constData(), X_OK) != 0)
        return Unreadable;

    DefinitionCheck definitions(m_report, m_programDir);
    TopicRecordCheck records(m_report, definitions);
    FileJobQueue files(m_programDir, m_threads);
    QSet<QString> documents;
    QStringList names;

    // Each topic's file is handed to the readers as soon as its block is
    // read, while the definitions go on being read here.
    definitions.setTopicRead([&definitions, &records, &files, &documents, &names](int topic) {
        const TopicSource &source = definitions.sources().at(topic);
        names.append(source.name);
        TopicFields fields(definitions.topics().at(topic));
        records.check(topic, fields);
        const TopicRecordCheck::Kind kind = records.kind(topic);
        if (source.repeated || (kind != TopicRecordCheck::Kind::Table && kind != TopicRecordCheck::Kind::Text))
            return;
        auto job = std::make_unique<FileJob>();
        job->topic = topic;
        job->source = source;
        job->file = records.file(topic);
        job->fileLine = records.fileLine(topic);
        if (kind == TopicRecordCheck::Kind::Table) {
            job->table = true;
            job->fields.emplace(std::move(fields));
        } else if (job->fileLine > 0) {
            job->readDocument = !documents.contains(job->file);
            documents.insert(job->file);
        } else {
            return; // no file named: reported with the record
        }
        files.add(std::move(job));
    });
    definitions.run();

    const std::pair<QString, QString> auxiliary[] = {
        {u"wexal.hlp"_s, u"brak pliku pomocy: okno pomocy nie ma czego pokazać"_s},
        {u"wexal.2010"_s, u"brak pliku objaśnień: okno objaśnień nie ma czego pokazać"_s},
        {u"wexal.update"_s, u"brak pliku informacji o aktualizacji: okno aktualizacji nie ma czego pokazać"_s},
    };
    for (const auto &[file, ifMissing] : auxiliary) {
        if (documents.contains(file))
            continue; // a topic's file already
        auto job = std::make_unique<FileJob>();
        job->file = file;
        job->ifMissing = ifMissing;
        files.add(std::move(job));
    }
    records.checkParents();

    TableCheck tables(m_report);
    files.finish([this, &tables](FileJob &job) {
        // Topic files are listed in the order they are read.
        if (!job.file.isEmpty())
            m_report.noteFile(job.file);
        m_report.append(job.report);
        if (job.tables)
            tables.absorb(std::move(*job.tables));
    });
    LinkCheck(m_report, tables, records, names).run();
    return m_report.hasErrors() ? Errors : Clean;
}
