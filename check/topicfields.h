#pragma once

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

// A topic record split into its fields once, for the many keys the check
// looks up in it. find() answers exactly as Wexal::GetTabField does (the
// first field in which the key occurs after upper-casing both, its value the
// field without as many characters as the key has) and also says which field
// that was and where in it the key stands.
class TopicFields
{
public:
    // Views into the record: valid while the TopicFields lives.
    struct Hit
    {
        int field = -1;     // index of the field, -1 when no field holds the key
        qsizetype at = -1;  // where the key starts in that field
        QStringView value;  // what GetTabField returns
        QStringView text;   // the whole field

        bool found() const { return field >= 0; }
        // The key stands in the middle of the field: the value is then not
        // what the editor wrote after the key.
        bool midField() const { return at > 0; }
    };

    explicit TopicFields(const QString &record);
    // Hits point into the record: a copy would leave them behind.
    TopicFields(const TopicFields &) = delete;
    TopicFields &operator=(const TopicFields &) = delete;
    TopicFields(TopicFields &&) = default;
    TopicFields &operator=(TopicFields &&) = default;

    Hit find(QStringView key) const;

private:
    QString m_record;
    QString m_upper; // the record upper-cased, once for every look-up
    QVarLengthArray<qsizetype, 32> m_starts; // of each field; m_starts[i + 1] - 1 ends it
    QVarLengthArray<qsizetype, 64> m_equals; // where an "=" stands, ascending
};
