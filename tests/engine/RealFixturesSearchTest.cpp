// The real workbooks of the shared fixture folder searched through the wrappers exactly as the
// program searches them: every cell the manifest lists for a word is among the hits, with the
// manifest's formula and comment text. The manifest itself is read with the engine's .csv
// parser.
#include "automation/AutomationError.h"
#include "engine/EngineServer.h"
#include "engine/csv/CsvDecoder.h"
#include "engine/csv/CsvParser.h"
#include "tests/engine/WrapperSearch.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <QFile>

#include <map>

namespace {

struct Expected {
    QString word, file;
    int sheet = 0;
    int column = 0, row = 0;
    QString where, formula, comment;
};

// "AB12" as column and row.
std::pair<int, int> CellPosition(const QString& cell) {
    int column = 0;
    qsizetype i = 0;
    for (; i < cell.size() && cell[i].isLetter(); ++i) {
        column = column * 26 + (cell[i].toUpper().unicode() - u'A' + 1);
    }
    return {column, cell.mid(i).toInt()};
}

std::vector<Expected> ReadManifest(const QString& folder) {
    QFile file(folder + QStringLiteral("/manifest.csv"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString text = engine::CsvDecoder::Decode(file.readAll());
    engine::CsvParser parser(text);
    std::vector<Expected> rows;
    QStringList record;
    QString field;
    bool endsRecord = false;
    bool header = true;
    while (parser.Next(field, endsRecord)) {
        record.push_back(field);
        if (!endsRecord) {
            continue;
        }
        if (!header && record.size() >= 9) {
            const auto [column, row] = CellPosition(record[4]);
            rows.push_back({record[0], record[1], record[2].toInt(), column, row, record[5],
                            record[7], record[8]});
        }
        header = false;
        record.clear();
    }
    return rows;
}

int LookIn(const QString& where) {
    if (where == u"formula") {
        return -4123;
    }
    return where == u"comment" ? -4144 : -4163;
}

TEST(RealFixturesSearch, ManifestCellsAreFoundWithTheirTexts) {
    const QString folder = testsupport::RealFixturesDir();
    if (folder.isEmpty()) {
        GTEST_SKIP() << "the real fixture folder is absent";
    }
    engine::RegisterEngine();
    auto excel = TExcel::CreateObject();
    ASSERT_NE(excel, nullptr);

    // One search per file, word and LookIn, shared by the manifest rows that need it.
    std::map<std::tuple<QString, QString, int>, std::vector<wrappersearch::Hit>> searches;
    int checked = 0;
    for (const Expected& e : ReadManifest(folder)) {
        if (e.where != u"value" && e.where != u"formula" && e.where != u"comment") {
            continue;  // a line of a multi-line manifest text
        }
        SCOPED_TRACE((e.file + u' ' + e.word + u' ' + e.where).toStdString());
        const auto key = std::tuple(e.file, e.word, LookIn(e.where));
        if (!searches.contains(key)) {
            wrappersearch::Conditions conditions{e.word, LookIn(e.where)};
            try {
                searches[key] =
                    wrappersearch::SearchBook(*excel, folder + u'/' + e.file, conditions);
            } catch (const AutomationError& error) {
                ADD_FAILURE() << error.Message().toStdString();
                searches[key] = {};
            }
        }
        const auto& hits = searches[key];
        const auto hit = std::find_if(hits.begin(), hits.end(), [&](const auto& h) {
            return h.sheet == e.sheet && h.column == e.column && h.row == e.row;
        });
        ++checked;
        if (hit == hits.end()) {
            ADD_FAILURE() << "not found at sheet " << e.sheet << " column " << e.column << " row "
                          << e.row;
            continue;
        }
        if (e.where == u"formula") {
            // The application shows a formula's spaces as the file keeps them; the two engines
            // that made the manifest drop them, so spacing is not compared.
            EXPECT_EQ(QString(hit->formula).remove(u' '), QString(e.formula).remove(u' '));
        }
        if (e.where == u"comment") {
            EXPECT_EQ(hit->comment, e.comment);
        }
    }
    EXPECT_GT(checked, 200);
    excel->Quit();
}

}  // namespace
