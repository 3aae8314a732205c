// The arguments of sorvane-search: either FOLDER WORD with options, or a search project file
// whose conditions the options then override.
#pragma once

#include "search/ConditionArguments.h"

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

enum class OutputFormat { Tsv, Csv, JsonLines };

class CommandLine {
public:
    // Parses the arguments without the program name. False on a usage error (see Error()).
    bool Parse(const QStringList& arguments);

    bool HelpRequested() const { return help_; }
    QString Error() const { return error_; }
    const SearchConditions& Conditions() const { return conditions_; }
    OutputFormat Format() const { return format_; }
    // Go on with the next workbook after one that cannot be searched.
    bool KeepGoing() const { return keepGoing_; }
    bool HiddenCells() const { return hiddenCells_; }
    // The per-user cell index narrows the run (the default); rebuilt from nothing on request.
    bool UseIndex() const { return useIndex_; }
    bool RebuildIndex() const { return rebuildIndex_; }

    static QString HelpText();

private:
    bool Fail(const QString& message);
    bool TakeOption(const QString& name, const QStringList& arguments, int& index);
    bool ApplyValue(const QString& name, const QString& value);
    bool Finish(const QStringList& positional);

    SearchConditions conditions_;
    OutputFormat format_ = OutputFormat::Tsv;
    // The valued options in command-line order, applied after the project is loaded.
    std::vector<std::pair<QString, QString>> values_;
    bool subfolders_ = false;
    bool matchCase_ = false;
    bool ignoreWidth_ = false;
    bool wholeCell_ = false;
    bool keepGoing_ = false;
    bool hiddenCells_ = false;
    bool useIndex_ = true;
    bool rebuildIndex_ = false;
    bool help_ = false;
    QString error_;
};
