#pragma once

#include <QString>
#include <QStringList>

// Finds the row of a classification code such as 10.71.11 for a start at
// that code, straight from the table files: the first table topic, in topic
// list order, whose code column holds the code. The code column is the first
// column not named "LINK", as the search takes a row's code; a cell holds the
// code when its text as the grid shows it (markup and link targets left out,
// blanks trimmed) equals it without regard to letter case. Rows are numbered
// as the grid numbers them when the topic is opened.
class CodeLocator
{
public:
    struct Place
    {
        int topic = -1;
        int gridRow = -1;
        bool found() const { return topic >= 0; }
    };

    // programDir ends in "/"; topicList is the program's list of topic
    // records. Files that are missing or cannot be read are passed over.
    static Place find(const QString &programDir, const QStringList &topicList, const QString &code);
};
