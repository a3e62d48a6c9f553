#include "platform/companion/PpdChoices.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

// libcups marks its PPD functions deprecated; they are still how a PPD is read.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace orvcompanion {

void PpdCloser::operator()(ppd_file_t* ppd) const
{
    ppdClose(ppd);
}

PpdPtr OpenPpdText(const std::string& text, std::string* error)
{
    if (text.empty()) {
        *error = "the file is empty";
        return nullptr;
    }
    // libcups reads a PPD from a descriptor: the text goes through an unnamed temporary file, so
    // the PPD checked is the very text that is sent.
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::tmpfile(), &std::fclose);
    if (!file || std::fwrite(text.data(), 1, text.size(), file.get()) != text.size() || std::fflush(file.get()) != 0 ||
        lseek(fileno(file.get()), 0, SEEK_SET) != 0) {
        *error = std::string("cannot stage the PPD text: ") + std::strerror(errno);
        return nullptr;
    }
    // cupsFileClose closes the descriptor it was given: it gets a duplicate of its own.
    cups_file_t* in = cupsFileOpenFd(dup(fileno(file.get())), "r");
    if (in == nullptr) {
        *error = std::string("cannot read the PPD text: ") + std::strerror(errno);
        return nullptr;
    }
    PpdPtr ppd(ppdOpen2(in));
    cupsFileClose(in);
    if (!ppd) {
        int line = 0;
        const ppd_status_t status = ppdLastError(&line);
        *error = std::string("libcups cannot read it as a PPD: ") + ppdErrorString(status) + " on line " +
                 std::to_string(line);
    }
    return ppd;
}

bool ResolveDefaults(ppd_file_t* ppd, Defaults* defaults, std::string* error)
{
    for (auto& [keyword, choice] : *defaults) {
        ppd_option_t* option = ppdFindOption(ppd, keyword.c_str());
        if (option == nullptr) {
            *error = "the queue's PPD has no option \"" + keyword + "\"";
            return false;
        }
        ppd_choice_t* found = ppdFindChoice(option, choice.c_str());
        if (found == nullptr) {
            *error = "the option \"" + keyword + "\" of the queue's PPD has no choice \"" + choice + "\"";
            return false;
        }
        keyword = option->keyword;
        choice = found->choice;
    }
    return true;
}

Defaults DefaultLinesFor(ppd_file_t* ppd, const Defaults& defaults)
{
    Defaults lines;
    for (const auto& [keyword, choice] : defaults) {
        lines.emplace_back(keyword, choice);
        if (keyword != "PageSize" && keyword != "PageRegion") {
            continue;
        }
        // The PPD's paper defaults agree with each other, as a PPD written with that paper would.
        const char* other = keyword == "PageSize" ? "PageRegion" : "PageSize";
        ppd_option_t* option = ppdFindOption(ppd, other);
        if (option != nullptr && ppdFindChoice(option, choice.c_str()) != nullptr) {
            lines.emplace_back(other, choice);
        }
        if (ppdPageSize(ppd, choice.c_str()) != nullptr) {
            lines.emplace_back("ImageableArea", choice);
            lines.emplace_back("PaperDimension", choice);
        }
    }
    return lines;
}

bool HasDefaults(ppd_file_t* ppd, const Defaults& defaults, std::string* error)
{
    for (const auto& [keyword, choice] : defaults) {
        ppd_option_t* option = ppdFindOption(ppd, keyword.c_str());
        if (option == nullptr || choice != option->defchoice) {
            *error = "the default of \"" + keyword + "\" could not be set to \"" + choice + "\" in the queue's PPD";
            return false;
        }
    }
    return true;
}

}  // namespace orvcompanion
