#pragma once

#include "table/linktarget.h"

#include <QHash>
#include <QString>
#include <QStringView>
#include <QVector>

class CheckReport;
class DataFile;
class TableGridModel;
class TopicFields;
struct TopicSource;

// Checks a table topic as the viewer opens it: the column keys of its
// record, then its file read by the viewer's table loader, then the markup
// of every cell. Links are kept for LinkCheck, which needs every table read.
class TableCheck
{
public:
    enum class Alignment { Left, Center, Right, None };

    // A link met in a cell of a left-aligned column.
    struct CellLink
    {
        QString file;
        int line = 0;
        int column = 0; // 1-based, as in the record's keys
        int number = 0; // in the cell; 0 when the cell has only this link
        // Made where the link is found, so that checking it later is quick.
        quint64 topicKey = 0;   // Wexal::Check::linkHash() of signature and key
        quint64 rowKeyHash = 0; // Wexal::Check::encodedHash() of the row key
        QString target;         // signature "@" key "@" row key, for the messages

        // The target's parts, as the viewer reads them.
        LinkTarget parts() const;
        bool hasRowKey() const;

        // "odnośnik" or "odnośnik nr 2"
        QString name() const;
    };

    explicit TableCheck(CheckReport &report);

    // data is the topic file as read (or refused); without it (the file is
    // missing, or no regular file) only the record's keys are checked.
    void check(int topic, const TopicFields &fields, const TopicSource &source, const QString &file,
               const DataFile *data);

    // The links of each table checked here or absorbed, table by table.
    const QVector<QVector<CellLink>> &links() const { return m_links; }

    // Frees what is kept only while a table is read.
    void releaseScratch() { m_cellText = QString(); }

    // Takes over the links and first cells another check found: tables
    // checked apart (on other threads) become part of this one.
    void absorb(TableCheck &&other);

    enum class RowKey { Found, Missing, TableNotRead };
    // Whether a data row of table topic topic has the key as its first
    // cell, byte for byte as the viewer compares; the key is given by the
    // hash of its bytes (Wexal::Check::bytesHash()).
    RowKey findRowKey(int topic, quint64 keyHash) const;

    // The viewer's reading of a column count or width: a decimal integer
    // after trimming, or nothing.
    static bool toInteger(QStringView value, int *number);

private:
    bool checkColumns(const TopicFields &fields, const TopicSource &source, QVector<Alignment> &columns);
    void checkCells(int topic, const TableGridModel &model, const QVector<int> &rowLines,
                    const QVector<Alignment> &columns, const QString &file);
    void checkMarkup(const QString &text, int column, int line, const QString &file);

    CheckReport &m_report;
    QVector<QVector<CellLink>> m_links;
    // The hashes of the first cells of each table read, sorted, by topic: a
    // table costs a few bytes a row, however long its keys.
    QHash<int, QVector<quint64>> m_firstCells;
    QString m_cellText;
};
