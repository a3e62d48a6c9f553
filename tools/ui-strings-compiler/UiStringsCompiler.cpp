// ui-strings-compile: turns the readable user-interface text sources (gui/widgets/strings/*.tsv)
// into the settings program's constant string tables.
//
//   ui-strings-compile <output.cpp> <source.tsv>...
//
// A source row is "locale<TAB>section<TAB>id<TAB>text"; a row without the text column is a key that
// has no text. Blank rows and rows starting with '#' are comments. In a text \n, \r, \t, \\ and
// \xHH stand for a line feed, a carriage return, a tab, a backslash and the byte HH.
//
// The output holds, per locale, one array of strings per section sorted by string id and one array
// of sections sorted by section id (both as unsigned 16-bit numbers), and the locale table sorted
// by case-insensitive name: the order the lookups binary-search. The compiler refuses a source with
// a malformed row, an id outside 0..65535, a key given twice, a text that is not UTF-8, locales
// whose section lists differ, or a text whose printf conversions differ from the same key's text
// in another locale (the program formats either locale's text with the same arguments).
#include "UiStringsSource.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: ui-strings-compile <output.cpp> <source.tsv>...\n";
        return 2;
    }
    orv::uistrings::Catalogue catalogue;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::cerr << argv[i] << ": cannot open\n";
            return 1;
        }
        std::stringstream text;
        text << in.rdbuf();
        std::string error;
        if (!orv::uistrings::AddSource(catalogue, text.str(), argv[i], error)) {
            std::cerr << error << "\n";
            return 1;
        }
    }
    std::string error;
    if (!orv::uistrings::CheckCatalogue(catalogue, error)) {
        std::cerr << error << "\n";
        return 1;
    }
    const std::string source = orv::uistrings::EmitTables(catalogue);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << source;
    if (!out.flush()) {
        std::cerr << argv[1] << ": cannot write\n";
        return 1;
    }
    return 0;
}
