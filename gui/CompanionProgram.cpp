#include "gui/CompanionProgram.h"

#include "core/InstallPaths.h"

#include <glib.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>

std::string CompanionProgramPath()
{
    return orv::InstalledPath(orv::kCompanionProgram);
}

std::vector<std::string> BuildStoreOptionsArgv(tagCUPSFUNC* cups, const char* queue, ppd_option_t** ppdOptions,
                                               int ppdOptionCount, int cupsOptionCount, cups_option_t* cupsOptions)
{
    std::vector<std::string> argv{CompanionProgramPath(), "-S", std::string("-p") + (queue != nullptr ? queue : "")};
    if (cups == nullptr || cups->cupsGetOption == nullptr || ppdOptions == nullptr) {
        return argv;
    }
    for (int i = 0; i < ppdOptionCount; ++i) {
        const ppd_option_t* option = ppdOptions[i];
        if (option == nullptr || strcmp(option->keyword, "PageRegion") == 0) {
            continue;
        }
        const char* value = cups->cupsGetOption(option->keyword, cupsOptionCount, cupsOptions);
        if (value != nullptr) {
            argv.push_back(std::string("-o") + option->keyword + "=" + value);
        }
    }
    const char* copies = cups->cupsGetOption("copies", cupsOptionCount, cupsOptions);
    if (copies != nullptr) {
        argv.push_back(std::string("-ocopies=") + copies);
    }
    return argv;
}

std::vector<std::string> BuildCustomPaperArgv(const char* queue, const char* ppdPath)
{
    return {CompanionProgramPath(), "-C", std::string("-p") + (queue != nullptr ? queue : ""),
            std::string("-c") + (ppdPath != nullptr ? ppdPath : "")};
}

bool RunCompanion(const std::vector<std::string>& argv)
{
    if (argv.empty()) {
        return false;
    }
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);

    gint waitStatus = 0;
    GError* error = nullptr;
    const gboolean started = g_spawn_sync(nullptr, args.data(), nullptr, G_SPAWN_LEAVE_DESCRIPTORS_OPEN, nullptr,
                                          nullptr, nullptr, nullptr, &waitStatus, &error);
    if (!started) {
        std::printf("%s could not be started: %s\n", argv[0].c_str(), error != nullptr ? error->message : "");
        if (error != nullptr) {
            g_error_free(error);
        }
        return false;
    }
    if (!WIFEXITED(waitStatus) || WEXITSTATUS(waitStatus) != 0) {
        std::printf("%s failed (wait status %d)\n", argv[0].c_str(), waitStatus);
        return false;
    }
    return true;
}
