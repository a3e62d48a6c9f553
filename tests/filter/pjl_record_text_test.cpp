// Texts of the settings record (user id, password, secure job name, department code) go into
// quoted PJL values. The record comes from a file its user writes, so the header holds them to the
// model's character and length rules and never lets a quote, line end or ESC through.
#include "PjlHeaderFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using orvtest::StderrCapture;

namespace {

void SetField(char* pField, size_t cbField, const std::string& text)
{
    std::memset(pField, 0, cbField);
    std::memcpy(pField, text.data(), text.size() < cbField ? text.size() : cbField);
}

// The model "filter-record-texts": kind 3 user id letters, digits, '.', '_' (8), password digits
// (4); department code digits and '-' (6); secure job name anything but '/' (12), item 57 itself
// cut to 10 and letting quote and ESC through.
class RecordTextHeader : public filtertest::PjlHeaderFixture {
protected:
    void SetUp() override
    {
        m_job.LoadModel("filter-record-texts");
        PRIVDM& priv = m_job->devmode.priv;
        priv.dmJobSpool = 3;
        priv.dmFieldsExtra1 = DMX1_JOBKIND3 | DMX1_DEPT_CODE;
        priv.dmUseDeptCode = 1;
        m_job->dwSecurePrint = 1;
    }
    std::string Run(const std::string& user, const std::string& password, const std::string& jobName,
                    const std::string& dept)
    {
        PRIVDM& priv = m_job->devmode.priv;
        SetField(priv.dmMailBox_UserID, sizeof priv.dmMailBox_UserID, user);
        SetField(priv.dmPassword, sizeof priv.dmPassword, password);
        SetField(priv.dmJobName, sizeof priv.dmJobName, jobName);
        SetField(priv.dmDeptCode, sizeof priv.dmDeptCode, dept);
        return PjlHeaderFixture::Run();
    }
};

TEST_F(RecordTextHeader, HostileTextsNeverEndTheirLine)
{
    const std::string inject = "\"\r\n@PJL ENTER LANGUAGE=PCL\r\n\x1b%-12345X";
    struct Case {
        std::string user, password, jobName, dept;
        std::string expected;  // the lines after "SET HOLD=ON"
        int iRefused;          // error lines in the log
    } cases[] = {
        // Characters outside the rules refuse the whole text: no line at all.
        {"ab" + inject, "12" + inject, "x" + inject, "12" + inject, "@PJL SET JOBNAME=\"x   @PJL E\"\r\n", 3},
        // The job name takes every character but '/': the quote, CR, LF and ESC become blanks
        // even though the item's copy flags would let quote and ESC through.
        {"u", "1", "\x1b%-12345X\"", "1",
         "@PJL SET USERID=\"u\"\r\n@PJL SET HOLDKEY=\"1\"\r\n@PJL SET JOBNAME=\" %-12345X \"\r\n"
         "@PJL SET DEPARTMENT=\"1\"\r\n",
         0},
        {"ab/c", "12 4", "a/b", "1\x7f", "", 4},
        // Longer than the model allows: cut to its lengths (the job name to the item's 10).
        {"Box.7_abcdefgh", "123456", "Quarterly report 2026", "12-3456789",
         "@PJL SET USERID=\"Box.7_ab\"\r\n@PJL SET HOLDKEY=\"1234\"\r\n@PJL SET JOBNAME=\"Quarterly \"\r\n"
         "@PJL SET DEPARTMENT=\"12-345\"\r\n",
         0},
    };
    for (const Case& c : cases) {
        std::string out = Run(c.user, c.password, c.jobName, c.dept);
        // The version comment stands before item 16, the first id above 10.
        const std::string head = "@PJL SET HOLD=ON\r\n";
        const size_t at = out.find(head);
        ASSERT_NE(at, std::string::npos) << out;
        EXPECT_EQ(out.substr(at + head.size()), c.expected) << c.jobName;
        EXPECT_EQ(out.find('\x1b'), std::string::npos);
        int iErrors = 0;
        for (size_t at = m_log.find("ERROR: "); at != std::string::npos; at = m_log.find("ERROR: ", at + 1)) {
            ++iErrors;
        }
        EXPECT_EQ(iErrors, c.iRefused) << m_log;
        EXPECT_EQ(m_log.find("PCL"), std::string::npos) << "the refused text itself is not logged";
    }
}

TEST_F(RecordTextHeader, WithoutTheirRecordsTheModelDefaultsApply)
{
    // A model without job-kind and department records: user id and password digits only, 8
    // characters each; department code digits, 8; the job name only the field's own bound.
    m_job.LoadModel("filter-pjl-lf");
    PRIVDM& priv = m_job->devmode.priv;
    SetField(priv.dmMailBox_UserID, sizeof priv.dmMailBox_UserID, "1234567890");
    SetField(priv.dmDeptCode, sizeof priv.dmDeptCode, "12ab");
    tagPJLITEM user{17, 0, 0, 0};
    tagPJLITEM dept{123, 0, 0, 0};
    tagPJLVALUE value{};
    StderrCapture err(m_dir / "err.txt");
    EXPECT_EQ(BuildPjlValue(m_job.get(), &user, &value), -1);
    EXPECT_EQ(value.sHasValue, -1);
    EXPECT_STREQ(value.aszTexts[0], "12345678");
    value = tagPJLVALUE{};
    EXPECT_EQ(BuildPjlValue(m_job.get(), &dept, &value), -1);
    EXPECT_EQ(value.sHasValue, 0) << "letters in a digits-only department code";
    const std::string log = err.Take();
    EXPECT_NE(log.find("ERROR: (PID "), std::string::npos) << log;
    EXPECT_NE(log.find(") The saved department code is not sent"), std::string::npos) << log;
}

}  // namespace
