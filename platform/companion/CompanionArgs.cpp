#include "platform/companion/CompanionArgs.h"

#include <cstring>

namespace orvcompanion {

namespace {

constexpr size_t kMaxQueueName = 127;

// The value of an option letter: the rest of the argument, or the next argument.
bool TakeValue(int argc, const char* const* argv, int* i, std::string* value, std::string* error)
{
    const char* arg = argv[*i];
    if (arg[2] != '\0') {
        *value = arg + 2;
        return true;
    }
    if (*i + 1 >= argc) {
        *error = std::string("\"") + arg + "\" needs a value";
        return false;
    }
    *value = argv[++*i];
    return true;
}

}  // namespace

bool IsQueueName(const std::string& name)
{
    if (name.empty() || name.size() > kMaxQueueName) {
        return false;
    }
    for (const char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u == 0x7F || std::strchr("/\\?'\"#", c) != nullptr) {
            return false;
        }
    }
    return true;
}

const char* CompanionUsage()
{
    return "usage: L_QW7RMTEKB -S -p<queue> -o<keyword>=<choice> ...\n"
           "       L_QW7RMTEKB -C -p<queue> -c<PPD file>\n"
           "  -S  make the choices the defaults of the queue's PPD; -ocopies=<n> and\n"
           "      -oCollate=<choice> also become the queue's job defaults\n"
           "  -C  make the PPD file the queue's PPD\n";
}

bool ParseCompanionArgs(int argc, const char* const* argv, CompanionRequest* request, std::string* error)
{
    *request = CompanionRequest {};
    bool haveMode = false;
    bool haveQueue = false;
    bool havePpd = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0) {
            *request = CompanionRequest {};
            return true;
        }
        if (arg[0] != '-' || arg[1] == '\0') {
            *error = std::string("unexpected argument \"") + arg + "\"";
            return false;
        }
        switch (arg[1]) {
        case 'S':
        case 'C':
            if (arg[2] != '\0') {
                *error = std::string("unknown option \"") + arg + "\"";
                return false;
            }
            if (haveMode) {
                *error = "give exactly one of -S and -C";
                return false;
            }
            haveMode = true;
            request->mode = arg[1] == 'S' ? Mode::StoreDefaults : Mode::InstallPpd;
            break;
        case 'p':
            if (haveQueue) {
                *error = "give one queue";
                return false;
            }
            if (!TakeValue(argc, argv, &i, &request->queue, error)) {
                return false;
            }
            haveQueue = true;
            break;
        case 'c':
            if (havePpd) {
                *error = "give one PPD file";
                return false;
            }
            if (!TakeValue(argc, argv, &i, &request->ppdPath, error)) {
                return false;
            }
            havePpd = true;
            break;
        case 'o': {
            std::string option;
            if (!TakeValue(argc, argv, &i, &option, error)) {
                return false;
            }
            const size_t equals = option.find('=');
            if (equals == 0 || equals == std::string::npos || equals + 1 == option.size()) {
                *error = "\"-o" + option + "\" is not <keyword>=<choice>";
                return false;
            }
            request->defaults.emplace_back(option.substr(0, equals), option.substr(equals + 1));
            break;
        }
        default:
            *error = std::string("unknown option \"") + arg + "\"";
            return false;
        }
    }
    if (!haveMode) {
        *error = "give one of -S and -C";
        return false;
    }
    if (!haveQueue) {
        *error = "no queue given (-p<queue>)";
        return false;
    }
    if (!IsQueueName(request->queue)) {
        *error = "\"" + request->queue + "\" is not a queue name";
        return false;
    }
    if (request->mode == Mode::StoreDefaults && havePpd) {
        *error = "-c goes with -C, not with -S";
        return false;
    }
    if (request->mode == Mode::InstallPpd && !request->defaults.empty()) {
        *error = "-o goes with -S, not with -C";
        return false;
    }
    if (request->mode == Mode::InstallPpd && (!havePpd || request->ppdPath.empty())) {
        *error = "no PPD file given (-c<path>)";
        return false;
    }
    return true;
}

}  // namespace orvcompanion
