// The [SOURce:] setting commands over the LAN socket of a controller on a fresh root (3P4W, ACDC-INT,
// 100 V range, Unbalance): each line sends one program message and names its reply line and then the
// error queue's first entry. Each test puts back what it changed.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/tcp_client.h"
#include "tests/system/controller_fixture.h"

namespace {

using testsupport::TcpClient;

constexpr int kScpiPort = 5025;
const std::string kOk = "+0,\"No error\"";
const std::string kRange = "-222,\"Data out of range\"";
const std::string kExecution = "-200,\"Execution error\"";
const std::string kParameter = "-220,\"Parameter error\"";
const std::string kSystem = "-310,\"System error\"";

struct Step {
    const char* send;   // a program message
    const char* reply;  // its reply line without the line feed (nullptr: it has none)
    std::string error;  // SYST:ERR? right after it
};

class ScpiSource : public testsupport::SharedController {
  protected:
    static void SetUpTestSuite() {
        SharedController::SetUpTestSuite();
        ASSERT_TRUE(c().WaitForOutput("LAN: SCPI socket listening on port " + std::to_string(Port(kScpiPort)),
                                      testsupport::kStartupTimeoutMs));
        client_ = std::make_unique<TcpClient>(Port(kScpiPort));
    }
    static void TearDownTestSuite() {
        client_.reset();
        SharedController::TearDownTestSuite();
    }
    static std::string Ask(const std::string& message) {
        client_->Send(message + "\n");
        std::string line = client_->ReadLine(15000);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        return line;
    }
    template <size_t N>
    void Run(const Step (&steps)[N]) {
        ASSERT_EQ(Ask("*CLS;*OPC?"), "1");
        for (const Step& s : steps) {
            if (s.reply != nullptr) {
                EXPECT_EQ(Ask(s.send), s.reply) << s.send;
            } else {
                client_->Send(std::string(s.send) + "\n");
            }
            EXPECT_EQ(Ask("SYST:ERR?"), s.error) << s.send;
        }
    }
    static inline std::unique_ptr<TcpClient> client_;
};

TEST_F(ScpiSource, GenericSettingsDutyAndRange) {
    // clang-format off
    const Step steps[] = {
        {"VOLT:OFFS -12.345;OFFS?", "-12.3500", kOk}, {"VOLT:OFFS 0;OFFS?", "+0.0000", kOk},
        {"VOLT:LIM:HIGH?;LOW?", "+250.0000;-250.0000", kOk}, {"CURR:LIM:RMS?", "+15.7500", kOk},
        {"CURR:LIM:RMS 16", nullptr, kRange}, {"LINE:VOLT?", nullptr, kExecution},
        {"SQU:DCYC?", "+50.0000", kOk}, {"SQU:DCYC 25;DCYC?", "+25.0000", kOk},
        {"SQU:DCYC MAX;DCYC?", "+99.9000", kOk}, {"SQU:DCYC", nullptr, kParameter},
        {"FREQ 500;:SQU:DCYC 25.4;DCYC?", "+25.0000", kOk}, {"FREQ 2000;FREQ?", "+2000.0000", kOk},
        {"SQU:DCYC 5", nullptr, kRange}, {"SQU:DCYC? MIN", "+10.0000", kOk},
        {"FREQ 50;:SQU:DCYC 50;DCYC?", "+50.0000", kOk}, {"VOLT:RANG?", "100", kOk},
        {"VOLT:RANG 2;RANG?", "AUTO", kOk}, {"VOLT:RANG 150", nullptr, kRange},
        {"VOLT:RANG -1", nullptr, kRange}, {"VOLT:RANG R100;RANG?", "100", kOk},
        {"MODE AC-EXT;:VOLT:RANG AUTO", nullptr, kExecution}, {"MODE ACDC-INT;:VOLT:RANG?", "100", kOk},
    };
    // clang-format on
    Run(steps);
}

TEST_F(ScpiSource, PhaseAnglesSyncAndStates) {
    // clang-format off
    const Step steps[] = {
        {"PHAS:STAR 90;STAR?", "+90.0000", kOk}, {"PHAS:STAR:STAT FIX;STAT?", "FIXED", kOk},
        {"PHAS:STAR:STAT -1", nullptr, kRange}, {"PHAS:STAR:STAT FREE;:PHAS:STAR 0", nullptr, kOk},
        {"PHAS:PHAS? L12;PHAS? L13", "+120.0;+240.0", kOk}, {"PHAS:PHAS L12,100.25;PHAS? L12", "+100.3", kOk},
        {"PHAS:PHAS 5,100", nullptr, kRange}, {"PHAS:PHAS L13,1e12", nullptr, kRange},
        {"PHAS:PHAS? L12;PHAS? L13", "+100.3;+240.0", kOk}, {"PHAS:SYNC?", "0.0", kOk},
        {"PHAS:SYNC 90.5;SYNC?", "90.5", kOk}, {"PHAS:SYNC 1e12", nullptr, kRange},
        {"PHAS:SYNC 0;:PHAS:MODE BAL;MODE?", "Balance", kOk}, {"PHAS:PHAS? L13,MAX", "+240.0", kOk},
        {"PHAS:PHAS L12,100", nullptr, kExecution},
        {"PHAS:MODE UNB;:PHAS:PHAS L12,120;PHAS? L12", "+120.0", kOk},
    };
    // clang-format on
    Run(steps);
}

TEST_F(ScpiSource, OutputModesWaveformAndLimits) {
    // clang-format off
    const Step steps[] = {
        {"MODE?", "ACDC-INT", kOk}, {"MODE 7;MODE?", "ACDC-Sync", kOk}, {"MODE 10", nullptr, kSystem},
        {"MODE -1", nullptr, kSystem}, {"SOUR:MODE DC-INT;:FUNC?", "DC", kOk},
        {"FUNC SIN", nullptr, kExecution}, {"FREQ?", nullptr, kExecution},
        {"MODE AC-INT;:VOLT:LIM:RMS?", "+175.0000", kOk}, {"VOLT:LIM:PEAK?", nullptr, kExecution},
        {"VOLT:LIM:RMS 150;:VOLT? MAX", "+150.0000", kOk}, {"VOLT:LIM:RMS 1e12", nullptr, kRange},
        {"VOLT:LIM:RMS MAX;RMS?", "+175.0000", kOk}, {"FUNC SQU;FUNC?", "SQU", kOk},
        {"FUNC -1", nullptr, kRange}, {"FUNC:THD:FORM CSA;FORM?", "CSA", kOk},
        {"FUNC:THD:FORM -1", nullptr, kRange}, {"VOLT:RESP?", "+1", kOk}, {"VOLT:RESP 3", nullptr, kRange},
        {"FUNC SIN;:FUNC:THD:FORM IEC;:MODE ACDC-INT;MODE?", "ACDC-INT", kOk},
    };
    // clang-format on
    Run(steps);
}

}  // namespace
