#include "cli/CommandLine.h"

#include "storage/Exception.h"
#include "storage/Tproject.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QStringList kValuedOptions = {"--types", "--by", "--look-in", "--format", "--project"};

QString LongName(const QString& option) {
    if (option == QLatin1String("-t")) {
        return QStringLiteral("--types");
    }
    return option;
}

int IndexOf(const QStringList& names, const QString& name) {
    return static_cast<int>(names.indexOf(name.trimmed().toLower()));
}

}  // namespace

bool CommandLine::Fail(const QString& message) {
    error_ = message;
    return false;
}

bool CommandLine::Parse(const QStringList& arguments) {
    QStringList positional;
    bool optionsEnded = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || argument == QLatin1String("-") || !argument.startsWith('-')) {
            positional.append(argument);
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!TakeOption(argument, arguments, i)) {
            return false;
        }
    }
    return help_ || Finish(positional);
}

bool CommandLine::TakeOption(const QString& argument, const QStringList& arguments, int& index) {
    QString name = argument;
    QString value;
    bool hasValue = false;
    const qsizetype equals = argument.indexOf('=');
    if (argument.startsWith(QLatin1String("--")) && equals > 0) {
        name = argument.left(equals);
        value = argument.mid(equals + 1);
        hasValue = true;
    }
    name = LongName(name);
    if (kValuedOptions.contains(name)) {
        if (!hasValue) {
            if (index + 1 >= arguments.size()) {
                return Fail(QStringLiteral("%1 には値が必要です。").arg(name));
            }
            value = arguments[++index];
        }
        values_.emplace_back(name, value);
        return true;
    }
    if (hasValue) {
        return Fail(QStringLiteral("%1 は値を取りません。").arg(name));
    }
    // Flags, also bundled as in -sc.
    const QStringList flags = name.startsWith(QLatin1String("--"))
                                  ? QStringList{name}
                                  : name.mid(1).split(QString(), Qt::SkipEmptyParts);
    for (const QString& flag : flags) {
        if (flag == "s" || flag == "--subfolders") {
            subfolders_ = true;
        } else if (flag == "c" || flag == "--match-case") {
            matchCase_ = true;
        } else if (flag == "w" || flag == "--whole-cell") {
            wholeCell_ = true;
        } else if (flag == "k" || flag == "--keep-going") {
            keepGoing_ = true;
        } else if (flag == "--hidden-cells") {
            hiddenCells_ = true;
        } else if (flag == "--no-index") {
            useIndex_ = false;
        } else if (flag == "--rebuild-index") {
            rebuildIndex_ = true;
        } else if (flag == "--ignore-width") {
            ignoreWidth_ = true;
        } else if (flag == "h" || flag == "--help") {
            help_ = true;
        } else {
            return Fail(QStringLiteral("不明なオプションです: %1").arg(argument));
        }
    }
    return true;
}

bool CommandLine::ApplyValue(const QString& name, const QString& value) {
    if (name == QLatin1String("--types")) {
        conditions_.Ext.clear();
        for (QString type : value.split(',', Qt::SkipEmptyParts)) {
            type = type.trimmed();
            if (type.startsWith('.')) {
                type.remove(0, 1);
            }
            const int index = IndexOf({"xls", "xlsx", "csv"}, type);
            if (index < 0) {
                return Fail(QStringLiteral("不明なファイルの種類です: %1").arg(type));
            }
            conditions_.Ext.insert(index);
        }
    } else if (name == QLatin1String("--by")) {
        conditions_.SearchOrder = IndexOf({"rows", "columns"}, value);
        if (conditions_.SearchOrder < 0) {
            return Fail(QStringLiteral("--by は rows か columns です: %1").arg(value));
        }
    } else if (name == QLatin1String("--look-in")) {
        conditions_.FindLookIn = IndexOf({"formulas", "values", "comments"}, value);
        if (conditions_.FindLookIn < 0) {
            return Fail(QStringLiteral("--look-in は formulas、values、comments のいずれかです: %1")
                            .arg(value));
        }
    } else if (name == QLatin1String("--format")) {
        const int index = IndexOf({"tsv", "csv", "jsonl"}, value);
        if (index < 0) {
            return Fail(
                QStringLiteral("--format は tsv、csv、jsonl のいずれかです: %1").arg(value));
        }
        format_ = static_cast<OutputFormat>(index);
    }
    return true;
}

bool CommandLine::Finish(const QStringList& positional) {
    QString projectFile;
    for (const auto& [name, value] : values_) {
        if (name == QLatin1String("--project")) {
            projectFile = value;
        }
    }
    if (!projectFile.isEmpty()) {
        if (!positional.isEmpty()) {
            return Fail(
                QStringLiteral("--project にはフォルダーと検索キーワードを指定できません。"));
        }
        // Loading a missing file would quietly give a new project's defaults.
        if (!QFileInfo(projectFile).isFile()) {
            return Fail(
                QStringLiteral("検索プロジェクトファイルが見つかりません: %1").arg(projectFile));
        }
        try {
            TProject project;
            project.Load(projectFile);
            conditions_ = project;
        } catch (const Exception& error) {
            return Fail(error.Message());
        }
    } else if (positional.size() != 2) {
        return Fail(QStringLiteral("フォルダーと検索キーワードを指定してください。"));
    } else {
        conditions_.Dir = positional[0];
        conditions_.Word = positional[1];
    }
    // The book column shows full paths; an empty text stays empty so the folder check fails.
    if (!conditions_.Dir.isEmpty()) {
        conditions_.Dir = QDir(conditions_.Dir).absolutePath();
    }
    conditions_.IsSearchSubDir = conditions_.IsSearchSubDir || subfolders_;
    conditions_.MatchCase = conditions_.MatchCase || matchCase_;
    conditions_.LookAt = conditions_.LookAt || wholeCell_;
    conditions_.MatchByte = conditions_.MatchByte && !ignoreWidth_;
    for (const auto& [name, value] : values_) {
        if (!ApplyValue(name, value)) {
            return false;
        }
    }
    return true;
}

QString CommandLine::HelpText() {
    return QStringLiteral(
        "使い方: sorvane-search [オプション] フォルダー 検索キーワード\n"
        "        sorvane-search [オプション] --project ファイル.SVZ\n"
        "\n"
        "フォルダー内のブック (.xls, .xlsx, .csv) "
        "を検索し、キーワードを含むセルを一行ずつ出力します。\n"
        "\n"
        "オプション:\n"
        "  -s, --subfolders        サブフォルダーも検索する\n"
        "  -t, --types LIST        検索対象: xls,xlsx,csv のカンマ区切り (既定: すべて)\n"
        "      --by rows|columns   検索方向: 行 (既定) か列\n"
        "      --look-in formulas|values|comments\n"
        "                          検索対象: 数式 (既定)、値、コメント\n"
        "  -c, --match-case        大文字と小文字を区別する\n"
        "      --ignore-width      半角と全角を区別しない (既定は区別する)\n"
        "  -w, --whole-cell        完全に同一なセルだけを検索する\n"
        "  -k, --keep-going        開けないブックがあっても次のブックの検索を続ける\n"
        "                          (既定はそこで検索を終える)\n"
        "      --hidden-cells      非表示の行・列とフィルターで隠れた行のセルも検索する\n"
        "      --no-index          検索インデックスを使わず、すべてのブックを読む\n"
        "      --rebuild-index     検索インデックスを消去して作り直す\n"
        "      --format tsv|csv|jsonl\n"
        "                          出力形式 (既定: tsv)\n"
        "      --project FILE      検索プロジェクトファイルの条件で検索する\n"
        "                          (ほかのオプションはその条件を上書きする)\n"
        "  -h, --help              このヘルプを表示する\n"
        "  --                      以降の引数をオプションとして扱わない (\"-\" "
        "で始まる語の検索に)\n"
        "\n"
        "出力: "
        "一件一行、ブック名、シート番号、シート名、列、行、セルの値、セルの数式、セルのコメント\n"
        "の順。tsv ではフィールド内のタブ、改行、復帰、バックスラッシュを \\t \\n \\r \\\\ "
        "と書き、\n"
        "ほかの制御文字 (U+0000-001F, U+007F-009F) は \\xHH、U+2028 と U+2029 は \\uHHHH "
        "と書く。\n"
        "csv は二重引用符で囲み、jsonl は一件一つの JSON オブジェクト (値はすべて文字列)。\n"
        "端末に出力するときは進行状況を標準エラーに表示する。\n"
        "\n"
        "終了コード: 0 一件以上見つかった、1 見つからなかった、\n"
        "            2 入力の誤り、または検索中のエラー (それまでの結果は出力される)。\n");
}
