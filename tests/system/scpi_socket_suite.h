#pragma once
// A suite's controller on a fresh root with one SCPI client on its LAN socket: program messages and
// their reply lines, and tables of steps each checked against the error queue's first entry.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "tests/support/tcp_client.h"
#include "tests/system/controller_fixture.h"

namespace testsupport {

constexpr int kScpiPort = 5025;
inline const std::string kNoError = "+0,\"No error\"";
inline const std::string kRange = "-222,\"Data out of range\"";
inline const std::string kParamError = "-220,\"Parameter error\"";
inline const std::string kExecution = "-200,\"Execution error\"";
inline const std::string kUndefined = "-113,\"Undefined header\"";
inline const std::string kSystemError = "-310,\"System error\"";

struct ScpiStep {
    const char* send;   // a program message
    const char* reply;  // its reply line without the line feed ("" an empty line; nullptr: it has none)
    std::string error;  // SYST:ERR? right after it
};

class ScpiSocketSuite : public SharedController {
  protected:
    static void SetUpTestSuite() {
        SharedController::SetUpTestSuite();
        ASSERT_TRUE(c().WaitForOutput("LAN: SCPI socket listening on port " + std::to_string(Port(kScpiPort)),
                                      kStartupTimeoutMs))
            << c().Output();
        client_ = std::make_unique<TcpClient>(Port(kScpiPort));
    }
    static void TearDownTestSuite() {
        client_.reset();
        SharedController::TearDownTestSuite();
    }
    static void Send(const std::string& message) { client_->Send(message + "\n"); }
    // The reply line without its line feed; an empty line is "", no line at all "<no reply>".
    static std::string Ask(const std::string& message) {
        Send(message);
        std::string line = client_->ReadLine(15000);
        if (line.empty() || line.back() != '\n') return "<no reply>" + line;
        line.pop_back();
        return line;
    }
    // The standard event register gathered over *ESR? queries until the operation-complete bit shows
    // (bounded at 5 s).
    static int EsrUntilOperationComplete(int esr) {
        for (int i = 0; i < 500 && (esr & 1) == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            esr |= std::atoi(Ask("*ESR?").c_str());
        }
        return esr;
    }
    // The steps in order, from a cleared error queue.
    template <size_t N>
    static void Run(const ScpiStep (&steps)[N]) {
        ASSERT_EQ(Ask("*CLS;*OPC?"), "1");
        for (const ScpiStep& s : steps) {
            if (s.reply != nullptr) {
                EXPECT_EQ(Ask(s.send), s.reply) << s.send;
            } else {
                Send(s.send);
            }
            EXPECT_EQ(Ask("SYST:ERR?"), s.error) << s.send;
        }
    }
    static inline std::unique_ptr<TcpClient> client_;
};

}  // namespace testsupport
