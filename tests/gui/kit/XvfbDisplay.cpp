#include "gui/kit/XvfbDisplay.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvgui {

namespace {

// Screen of every test server: large enough for the main window and its dialogs side by side.
const char kScreen[] = "1280x1024x24";
// Seconds to wait for a server to announce its display.
const int kStartSeconds = 20;

bool ReadSharedDisplay(std::string* pName)
{
    const char* pszFile = std::getenv("ORV_GUI_DISPLAY_FILE");
    if (pszFile == nullptr || *pszFile == '\0') {
        return false;
    }
    std::ifstream in(pszFile);
    std::string number;
    if (!(in >> number) || number.empty() || number.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    *pName = ":" + number;
    return true;
}

}  // namespace

XvfbDisplay::~XvfbDisplay()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
    }
}

bool XvfbDisplay::Open(std::string* pError)
{
    if (!ReadSharedDisplay(&m_name) && !StartOwn(pError)) {
        return false;
    }
    setenv("DISPLAY", m_name.c_str(), 1);
    return true;
}

bool XvfbDisplay::StartOwn(std::string* pError)
{
    int fds[2];
    if (pipe(fds) != 0) {
        *pError = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    pid_t pid = fork();
    if (pid < 0) {
        *pError = std::string("fork: ") + std::strerror(errno);
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (pid == 0) {
        close(fds[0]);
        int devnull = open("/dev/null", O_RDWR);
        if (devnull >= 0) {
            dup2(devnull, STDIN_FILENO);
            dup2(devnull, STDOUT_FILENO);
            dup2(devnull, STDERR_FILENO);
        }
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", kScreen, "-nolisten", "tcp", "-noreset",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    m_pid = pid;
    std::string number;
    struct pollfd pfd = {fds[0], POLLIN, 0};
    while (poll(&pfd, 1, kStartSeconds * 1000) > 0) {
        char ch = 0;
        ssize_t n = read(fds[0], &ch, 1);
        if (n <= 0 || ch == '\n') {
            break;
        }
        number.push_back(ch);
    }
    close(fds[0]);
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) {
        *pError = "Xvfb did not announce a display (is the xvfb package installed?)";
        return false;
    }
    m_name = ":" + number;
    return true;
}

}  // namespace orvgui
