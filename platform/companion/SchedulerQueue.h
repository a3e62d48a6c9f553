// One queue of the CUPS scheduler that CUPS_SERVER (or the client configuration) names, reached
// through libcups's IPP requests as CUPS's own administration commands make them. Nothing here
// asks for a password: where the scheduler wants administrative rights the request fails and the
// message says so.
#pragma once

#include <string>

#include <cups/cups.h>

#include "platform/companion/JobDefaults.h"

namespace orvcompanion {

class SchedulerQueue {
public:
    SchedulerQueue() = default;
    ~SchedulerQueue();
    SchedulerQueue(const SchedulerQueue&) = delete;
    SchedulerQueue& operator=(const SchedulerQueue&) = delete;

    // Connects to the scheduler and finds the printer queue of that name. False with a message
    // when the scheduler cannot be reached, has no such printer queue or the name is a class.
    bool Open(const std::string& queue, std::string* error);

    // The queue's name as the scheduler spells it.
    const std::string& Name() const { return m_name; }

    // The queue's PPD as text; false with a message when it has none or it cannot be fetched.
    bool FetchPpd(std::string* text, std::string* error);

    // Makes text the queue's PPD; false with a message when the scheduler refuses or fails.
    bool InstallPpd(const std::string& text, std::string* error) { return Change(&text, JobDefaults {}, error); }

    // In one request, so that the queue takes both or neither: makes *ppd (unless null) the
    // queue's PPD and the set members of job its job defaults ("copies-default",
    // "Collate-default"). Nothing to change is success; false with a message when the scheduler
    // refuses or fails.
    bool Change(const std::string* ppd, const JobDefaults& job, std::string* error);

private:
    // The reason of a failed request, with the administrative rights named where they are missing.
    std::string RequestFailure(const std::string& what) const;

    http_t* m_http = nullptr;
    std::string m_name;
    std::string m_uri;
};

}  // namespace orvcompanion
