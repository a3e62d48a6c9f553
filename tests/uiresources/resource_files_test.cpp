// The resource text files the package installs: their names follow the model data, they parse,
// their texts come through the lookup chain, and none replaces a format with another.
#include "core/model/ModelAnswer.h"
#include "gui/widgets/BuiltinTableTypes.h"
#include "gui/widgets/BuiltinTables.h"
#include "gui/widgets/PrintfConversions.h"
#include "gui/widgets/RctFile.h"
#include "gui/widgets/UiTextLookup.h"
#include "support/ModelFiles.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

cups_lang_t g_lang;

cups_lang_t* LangDefault()
{
    return &g_lang;
}

tagCUPSFUNC CupsWithLanguage(const char* language)
{
    tagCUPSFUNC cups{};
    cups.handle = reinterpret_cast<void*>(1);
    cups.cupsLangDefault = &LangDefault;
    std::memset(&g_lang, 0, sizeof g_lang);
    std::strncpy(g_lang.language, language, sizeof g_lang.language - 1);
    return cups;
}

// The model resource file's name: "L_" and capability 4's string, cut at its last ".", less its
// last two characters, then ".RCT".
std::string ModelResourceName(const std::string& capability4)
{
    std::string name = "L_" + capability4;
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        name.resize(dot);
    }
    name.resize(name.size() >= 2 ? name.size() - 2 : 0);
    return name + ".RCT";
}

TEST(ResourceFiles, NameRule)
{
    EXPECT_EQ(ModelResourceName("ABCD.XYZ"), "L_AB.RCT");
    EXPECT_EQ(ModelResourceName("L_GC7350"), "L_L_GC73.RCT");
}

TEST(ResourceFiles, EverySampleModelWithAResourceNameHasItsFiles)
{
    struct Case {
        const char* model;
        const char* file;  // NULL: the model names none
        unsigned short section, id;
        const char* en;
        const char* ja;
    };
    const Case cases[] = {
        {"GC7350", "L_L_GC73.RCT", 150, 168, "Output Tr_ay / Finisher :", "排紙先/フィニッシャー(_A) :"},
        {"GM4150", "L_L_GM41.RCT", 200, 218, "_Toner Save Mode", "トナーセーブモード(_T)"},
        {"GM1000", nullptr, 0, 0, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        orvtest::SpcDataPtr model = orvtest::LoadSampleModel(c.model);
        ASSERT_TRUE(model);
        const ModelAnswer answer(model.get(), SPCID_RCTNAME, 0, 1);
        if (c.file == nullptr) {
            EXPECT_FALSE(answer.Found());
            continue;
        }
        ASSERT_TRUE(answer.Found());
        // The string answer ends with its terminator.
        ASSERT_EQ(answer.Bytes()[answer.Size() - 1], 0);
        EXPECT_EQ(ModelResourceName(reinterpret_cast<const char*>(answer.Bytes())), c.file);
        for (const char* language : {"en", "ja_JP"}) {
            tagCUPSFUNC cups = CupsWithLanguage(language);
            CRctFile file(&cups);
            file.Load(ORV_RESOURCE_SOURCE_DIR, c.file);
            EXPECT_STREQ(LookupUiText(&file, nullptr, c.section, c.id), language[0] == 'e' ? c.en : c.ja);
        }
    }
}

TEST(ResourceFiles, CommonFileGivesTheTextsTheTableLacks)
{
    struct Case {
        const char* language;
        const char* kind;
        const char* securePrint;
    };
    const Case cases[] = {
        {"en", "Normal Print", "_Secure Print"},
        {"ja_JP", "通常印刷", "セキュアプリント(_S)"},
        {"de", "Normal Print", "_Secure Print"},  // no German directory: the English file
    };
    for (const Case& c : cases) {
        tagCUPSFUNC cups = CupsWithLanguage(c.language);
        CRctFile common(&cups);
        EXPECT_EQ(common.Load(ORV_RESOURCE_SOURCE_DIR, "L_K4WQTN.RCT"), 1);
        EXPECT_STREQ(LookupUiText(nullptr, &common, 0, 6205), c.kind);
        EXPECT_STREQ(LookupUiText(nullptr, &common, 0, 6207), c.securePrint);
    }
}

// Every key line of every shipped file passes the format guard against both locales' texts.
TEST(ResourceFiles, NoShippedTextChangesAFormat)
{
    const char* const files[] = {"en/L_K4WQTN.RCT", "ja/L_K4WQTN.RCT", "en/L_L_GC73.RCT",
                                 "ja/L_L_GC73.RCT", "en/L_L_GM41.RCT", "ja/L_L_GM41.RCT"};
    for (const char* lang : {"C", "ja_JP.UTF-8"}) {
        orvtest::ScopedEnv env("LANG", lang);
        ResetBuiltinLocaleChoice();
        for (const char* name : files) {
            std::ifstream in(std::string(ORV_RESOURCE_SOURCE_DIR) + name);
            ASSERT_TRUE(in) << name;
            std::string line;
            unsigned short section = 0;
            int keys = 0;
            while (std::getline(in, line)) {
                if (line.rfind("[dlg", 0) == 0) {
                    section = static_cast<unsigned short>(std::atoi(line.c_str() + 4));
                } else if (line.rfind("[string]", 0) == 0) {
                    section = 0;
                } else if (!line.empty() && line[0] != ';' && line.find('=') != std::string::npos) {
                    const unsigned short id = static_cast<unsigned short>(std::atoi(line.c_str()));
                    const std::string text = line.substr(line.find('=') + 1);
                    EXPECT_TRUE(orv::SamePrintfConversions(text.c_str(), GetBuiltinString(section, id)))
                        << name << " " << line;
                    ++keys;
                }
            }
            EXPECT_GT(keys, 0) << name;
        }
    }
    ResetBuiltinLocaleChoice();
}

}  // namespace
