#include "platform/companion/SchedulerQueue.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

#include <cups/ppd.h>

#include "core/util/PpdText.h"

// libcups marks cupsGetPPD3 deprecated with the rest of its PPD functions; it is still how a
// client fetches a queue's PPD.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace orvcompanion {

namespace {

struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using IppPtr = std::unique_ptr<ipp_t, IppDeleter>;

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

// No prompts: the program runs under the settings program's window, not at a terminal.
const char* NoPassword(const char*, http_t*, const char*, const char*, void*)
{
    return nullptr;
}

bool Refused(ipp_t* response)
{
    return response == nullptr || ippGetStatusCode(response) > IPP_STATUS_OK_EVENTS_COMPLETE;
}

bool IsMissingRights(ipp_status_t status)
{
    return status == IPP_STATUS_ERROR_FORBIDDEN || status == IPP_STATUS_ERROR_NOT_AUTHENTICATED ||
           status == IPP_STATUS_ERROR_NOT_AUTHORIZED || status == IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED;
}

}  // namespace

SchedulerQueue::~SchedulerQueue()
{
    if (m_http != nullptr) {
        httpClose(m_http);
    }
}

std::string SchedulerQueue::RequestFailure(const std::string& what) const
{
    const ipp_status_t status = cupsLastError();
    const std::string reason = cupsLastErrorString() != nullptr ? cupsLastErrorString() : ippErrorString(status);
    if (IsMissingRights(status)) {
        return what + ": this needs the print system's administrative rights, which the scheduler did not grant (" +
               reason + ")";
    }
    if (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || status == IPP_STATUS_ERROR_INTERNAL) {
        return what + ": the print scheduler at " + cupsServer() + " did not answer (" + reason + ")";
    }
    return what + ": the scheduler refused (" + reason + ")";
}

bool SchedulerQueue::Open(const std::string& queue, std::string* error)
{
    cupsSetPasswordCB2(NoPassword, nullptr);
    m_http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 30000, nullptr);
    if (m_http == nullptr) {
        *error = std::string("cannot reach the print scheduler at ") + cupsServer() + " (" + cupsLastErrorString() +
                 ")";
        return false;
    }
    char uri[HTTP_MAX_URI];
    if (httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                         queue.c_str()) != HTTP_URI_STATUS_OK) {
        *error = "\"" + queue + "\" is not a queue name";
        return false;
    }
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    static const char* const kWanted[] = {"printer-name", "printer-type"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, kWanted);
    const IppPtr response(cupsDoRequest(m_http, request, "/"));
    if (Refused(response.get())) {
        if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) {
            *error = "the print scheduler has no queue \"" + queue + "\"";
        } else {
            *error = RequestFailure("cannot look up the queue \"" + queue + "\"");
        }
        return false;
    }
    ipp_attribute_t* type = ippFindAttribute(response.get(), "printer-type", IPP_TAG_ENUM);
    if (type != nullptr && (ippGetInteger(type, 0) & CUPS_PRINTER_CLASS) != 0) {
        *error = "\"" + queue + "\" is a class of printers, not a printer queue with a PPD";
        return false;
    }
    ipp_attribute_t* name = ippFindAttribute(response.get(), "printer-name", IPP_TAG_NAME);
    m_name = name != nullptr && ippGetString(name, 0, nullptr) != nullptr ? ippGetString(name, 0, nullptr) : queue;
    if (httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                         m_name.c_str()) != HTTP_URI_STATUS_OK) {
        *error = "\"" + m_name + "\" is not a queue name";
        return false;
    }
    m_uri = uri;
    return true;
}

bool SchedulerQueue::FetchPpd(std::string* text, std::string* error)
{
    char path[1024] = "";
    time_t modified = 0;
    const http_status_t status = cupsGetPPD3(m_http, m_name.c_str(), &modified, path, sizeof path);
    if (status != HTTP_STATUS_OK) {
        if (path[0] != '\0') {
            unlink(path);
        }
        *error = status == HTTP_STATUS_NOT_FOUND
                     ? "the queue \"" + m_name + "\" has no PPD"
                     : RequestFailure("cannot fetch the PPD of the queue \"" + m_name + "\"");
        return false;
    }
    const bool read = orv::ReadPpdText(path, true, text, nullptr);
    unlink(path);
    if (!read) {
        *error = "cannot read the PPD of the queue \"" + m_name + "\"";
    }
    return read;
}

bool SchedulerQueue::Change(const std::string* ppd, const JobDefaults& job, std::string* error)
{
    if (ppd == nullptr && job.Empty()) {
        return true;
    }
    // The request's body is sent from a file the scheduler never sees by name; libcups rewinds it
    // when it has to send the request again after authentication.
    std::unique_ptr<FILE, FileCloser> body;
    if (ppd != nullptr) {
        body.reset(std::tmpfile());
        if (!body || std::fwrite(ppd->data(), 1, ppd->size(), body.get()) != ppd->size() ||
            std::fflush(body.get()) != 0 || lseek(fileno(body.get()), 0, SEEK_SET) != 0) {
            *error = "cannot stage the PPD for the scheduler";
            return false;
        }
    }
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, m_uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    if (job.copies) {
        ippAddInteger(request, IPP_TAG_PRINTER, IPP_TAG_INTEGER, "copies-default", *job.copies);
    }
    if (job.collate) {
        ippAddBoolean(request, IPP_TAG_PRINTER, "Collate-default", *job.collate ? 1 : 0);
    }
    const IppPtr response(cupsDoIORequest(m_http, request, "/admin/", body ? fileno(body.get()) : -1, -1));
    if (Refused(response.get())) {
        *error = RequestFailure("cannot change the queue \"" + m_name + "\"");
        return false;
    }
    return true;
}

}  // namespace orvcompanion
