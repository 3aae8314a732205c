// The real workbooks of the shared fixture folder searched through the wrappers exactly as the
// program searches them: every cell the manifest lists for a word is among the hits, with the
// manifest's formula and comment text.
#include "automation/AutomationError.h"
#include "automation/AutomationRegistry.h"
#include "engine/objects/EngineServer.h"
#include "tests/engine/objects/WrapperSearch.h"
#include "tests/support/RealManifest.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <map>

namespace {

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
    AutomationRegistry servers;
    engine::RegisterEngine(servers);
    auto excel = TExcel::CreateObject(servers);
    ASSERT_NE(excel, nullptr);

    // One search per file, word and LookIn, shared by the manifest rows that need it.
    std::map<std::tuple<QString, QString, int>, std::vector<wrappersearch::Hit>> searches;
    int checked = 0;
    for (const testsupport::ManifestRow& e : testsupport::ReadRealManifest()) {
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
            return h.sheet == e.sheetNumber && h.column == e.column && h.row == e.row;
        });
        ++checked;
        if (hit == hits.end()) {
            ADD_FAILURE() << "not found at sheet " << e.sheetNumber << " column " << e.column
                          << " row " << e.row;
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
