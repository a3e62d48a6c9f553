#include "custompaper/CustomPaperTestSupport.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace orvtest {

std::string SmallPpd()
{
    return "*PPD-Adobe: \"4.3\"\n"
           "*FormatVersion: \"4.3\"\n"
           "*FileVersion: \"1.0\"\n"
           "*LanguageVersion: English\n"
           "*LanguageEncoding: ISOLatin1\n"
           "*PCFileName: \"TESTQ.PPD\"\n"
           "*Manufacturer: \"Orvalen\"\n"
           "*Product: \"(Test Queue)\"\n"
           "*ModelName: \"Test Queue\"\n"
           "*ShortNickName: \"Test Queue\"\n"
           "*NickName: \"Test Queue\"\n"
           "*PSVersion: \"(3010.000) 0\"\n"
           "*UIConstraints: *InputSlot Manual *PageSize Letter\n"
           "\n"
           "*OpenUI *InputSlot/Paper Source: PickOne\n"
           "*DefaultInputSlot: Auto\n"
           "*InputSlot Auto/Auto Select: \"%% ID=7\"\n"
           "*InputSlot Manual/Manual Feed: \"%% ID=4\"\n"
           "*CloseUI: *InputSlot\n"
           "\n"
           "*OpenUI *PageSize/Page Size: PickOne\n"
           "*OrderDependency: 10 AnySetup *PageSize\n"
           "*DefaultPageSize: A4\n"
           "*PageSize Letter/Letter (8.5 x 11 in): \"<</PageSize[612 792]/ImagingBBox null>>setpagedevice %% ID=1\"\n"
           "*PageSize A4/A4 (210 x 297 mm): \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice %% ID=9\"\n"
           "*CloseUI: *PageSize\n"
           "\n"
           "*OpenUI *PageRegion: PickOne\n"
           "*OrderDependency: 10 AnySetup *PageRegion\n"
           "*DefaultPageRegion: A4\n"
           "*PageRegion Letter/Letter (8.5 x 11 in): \"<</PageSize[612 792]/ImagingBBox null>>setpagedevice %% ID=1\"\n"
           "*PageRegion A4/A4 (210 x 297 mm): \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice %% ID=9\"\n"
           "*CloseUI: *PageRegion\n"
           "\n"
           "*DefaultImageableArea: A4\n"
           "*ImageableArea Letter/Letter (8.5 x 11 in): \"12 12 600 780\"\n"
           "*ImageableArea A4/A4 (210 x 297 mm): \"12 12 583 830\"\n"
           "*DefaultPaperDimension: A4\n"
           "*PaperDimension Letter/Letter (8.5 x 11 in): \"612 792\"\n"
           "*PaperDimension A4/A4 (210 x 297 mm): \"595 842\"\n"
           "*% End of the test queue's PPD\n";
}

std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

std::string Replaced(const std::string& text, const std::string& what, const std::string& with)
{
    const size_t at = text.find(what);
    EXPECT_NE(std::string::npos, at) << "no \"" << what << "\" in the fixture";
    if (at == std::string::npos) {
        return text;
    }
    return text.substr(0, at) + with + text.substr(at + what.size());
}

std::string InsertedBefore(const std::string& text, const std::string& before, const std::string& line)
{
    const size_t at = text.find("\n" + before);
    EXPECT_NE(std::string::npos, at) << "no line \"" << before << "\" in the fixture";
    if (at == std::string::npos) {
        return text;
    }
    return text.substr(0, at + 1) + line + text.substr(at + 1);
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

tagCUSTOMPAPER PaperNamed(const std::string& name)
{
    tagCUSTOMPAPER paper {};
    std::strncpy(paper.szName, name.c_str(), sizeof paper.szName - 1);
    return paper;
}

const char* const kLabelLines[4] = {
    "*PageSize userpaper457/Label 100.0 x 150.0 mm: \"<</PageSize[283 425]/ImagingBBox null>>setpagedevice %% ID=457\"\n",
    "*PageRegion userpaper457/Label 100.0 x 150.0 mm: \"<</PageSize[283 425]/ImagingBBox null>>setpagedevice %% ID=457\"\n",
    "*ImageableArea userpaper457/Label 100.0 x 150.0 mm: \"12 12 271 413\"\n",
    "*PaperDimension userpaper457/Label 3.94 x 5.91 in: \"283 425\"\n",
};

DecimalCommaLocale::DecimalCommaLocale()
{
#ifdef ORV_DECIMAL_COMMA_LOCALE_DIR
    if (const char* old = std::setlocale(LC_ALL, nullptr)) {
        m_old = old;
    }
    setenv("LOCPATH", ORV_DECIMAL_COMMA_LOCALE_DIR, 1);
    m_active = std::setlocale(LC_ALL, "decimal-comma") != nullptr;
    unsetenv("LOCPATH");
#endif
}

DecimalCommaLocale::~DecimalCommaLocale()
{
    if (m_active) {
        std::setlocale(LC_ALL, m_old.empty() ? "C" : m_old.c_str());
    }
}

}  // namespace orvtest
