#include "gui/kit/GLibLogGuard.h"

#include <gtest/gtest.h>

namespace orvgui {

bool ClaimExpected(GLogLevelFlags level, const char* pszMessage);

namespace {

// The innermost expectation; expectations nest like scopes.
ExpectGLibLog* g_pExpected = nullptr;

const char* LevelName(GLogLevelFlags level)
{
    if (level & G_LOG_LEVEL_ERROR) {
        return "ERROR";
    }
    if (level & G_LOG_LEVEL_CRITICAL) {
        return "CRITICAL";
    }
    return "WARNING";
}

void FailingLogHandler(const gchar* pszDomain, GLogLevelFlags level, const gchar* pszMessage, gpointer)
{
    const GLogLevelFlags kFailing =
        static_cast<GLogLevelFlags>(G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING);
    if (!(level & kFailing)) {
        g_log_default_handler(pszDomain, level, pszMessage, nullptr);
        return;
    }
    if (ClaimExpected(level, pszMessage)) {
        return;
    }
    ADD_FAILURE() << (pszDomain != nullptr ? pszDomain : "(no domain)") << "-" << LevelName(level) << ": "
                  << (pszMessage != nullptr ? pszMessage : "(null)");
}

}  // namespace

bool ClaimExpected(GLogLevelFlags level, const char* pszMessage)
{
    for (ExpectGLibLog* p = g_pExpected; p != nullptr; p = p->m_pPrevious) {
        if ((level & p->m_level) && pszMessage != nullptr && std::string(pszMessage).find(p->m_text) != std::string::npos) {
            ++p->m_nCount;
            return true;
        }
    }
    return false;
}

void InstallGLibLogGuard()
{
    g_log_set_default_handler(FailingLogHandler, nullptr);
}

ExpectGLibLog::ExpectGLibLog(GLogLevelFlags level, std::string text)
    : m_level(level), m_text(std::move(text)), m_pPrevious(g_pExpected)
{
    g_pExpected = this;
}

ExpectGLibLog::~ExpectGLibLog()
{
    g_pExpected = m_pPrevious;
    EXPECT_GT(m_nCount, 0) << "expected a GLib message containing \"" << m_text << "\"";
}

}  // namespace orvgui
