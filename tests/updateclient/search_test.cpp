// The search without a window: the steps it reports, the server it chooses and the size
// it adds up, against the test server.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/folders.h"
#include "support/http_server.h"
#include "updateclient/search.h"

namespace {

struct Step {
  int step;
  std::string newest;
  int64_t totalSize;
  bool operator==(const Step& o) const { return step == o.step && newest == o.newest && totalSize == o.totalSize; }
};

class RecordingSearchUi : public SearchUi {
 public:
  void ShowStep(int step, const std::string& newest, int64_t totalSize) override {
    steps.push_back({step, newest, totalSize});
  }
  std::vector<Step> steps;
};

class Search : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.Start());
    state_.scriptFolder = folder_.widePath;
    state_.settings.version = "1.0";
  }
  std::string Address(const std::string& path) const { return "127.0.0.1:" + std::to_string(server_.Port()) + path; }
  std::vector<Step> Run() {
    RecordingSearchUi ui;
    RunSearch(state_, ui, 0);
    return ui.steps;
  }

  TestHttpServer server_;
  TempFolder folder_{"zksearch"};
  ClientState state_;
};

TEST_F(Search, ReportsEachStepAndAddsUpOnlyTheKnownSizes) {
  server_.SetAnswer("/u/Updates/", OkAnswer("index"));
  server_.SetAnswer("/u/updatescript.ini",
                    OkAnswer("releases {\n1.0\n1.1\n}\nrelease: 1.1 {\nDownloadFile: a.bin, data\n"
                             "DownloadFile: sub/b.bin, data\nDownloadFile: chunked.bin, data\n"
                             "DownloadFile: ../bad, data\n}\n"));
  server_.SetAnswer("/u/Updates/a.bin", OkAnswer(std::string(1000, 'a')));
  server_.SetAnswer("/u/Updates/sub/b.bin", OkAnswer(std::string(24, 'b')));
  HttpAnswer chunked = OkAnswer(std::string(5000, 'c'));
  chunked.delivery = HttpDelivery::Chunked;
  server_.SetAnswer("/u/Updates/chunked.bin", chunked);
  state_.settings.mainAddress = Address("/u");
  std::vector<Step> expected = {{kStepConnected, "", 0},
                                {kStepNewVersion, "1.1", 0},
                                {kStepDataReceived, "1.1", 1024},
                                {kStepReady, "1.1", 1024}};
  EXPECT_EQ(Run(), expected);
  EXPECT_EQ(state_.updatesUrl, "http://" + Address("/u/Updates/"));
  EXPECT_EQ(state_.newestVersion, "1.1");
  // The size of a file is asked where the file is fetched from, never at the top of the
  // updates folder.
  bool atTop = false;
  for (const HttpRequestLine& r : server_.Requests()) atTop = atTop || r.path == "/u/Updates/b.bin";
  EXPECT_FALSE(atTop);
}

TEST_F(Search, ChoosesTheFirstServerThatAnswersBoth) {
  struct Case {
    const char* name;
    int mainUpdatesStatus;
    int mainScriptStatus;
    const char* expected;  // "" for no server
  } cases[] = {
      {"main answers", 200, 200, "/m/"},    {"main updates 404", 404, 200, "/b/"},
      {"main script 404", 200, 404, "/b/"}, {"main updates 401", 401, 200, "/b/"},
      {"main script 500", 200, 500, "/b/"}, {"main updates 503", 503, 200, "/b/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server_.SetAnswer("/m/Updates/", StatusAnswer(c.mainUpdatesStatus, "Status"));
    server_.SetAnswer("/m/updatescript.ini", StatusAnswer(c.mainScriptStatus, "Status"));
    server_.SetAnswer("/b/Updates/", OkAnswer("index"));
    server_.SetAnswer("/b/updatescript.ini", OkAnswer("releases{\n1.0\n}\n"));
    UpdaterSettingsBlock s;
    s.mainAddress = "http://" + Address("/m/");
    s.alternativeAddress2 = "http://" + Address("/b/");
    EXPECT_EQ(ChooseUpdateServer(s), "http://" + Address(c.expected));
  }
  // Nothing answers: a closed port, an empty address.
  UpdaterSettingsBlock none;
  none.mainAddress = "http://127.0.0.1:1/";
  EXPECT_EQ(ChooseUpdateServer(none), "");
}

TEST_F(Search, NoServerAndNoNewVersionAreReportedAsSuch) {
  state_.settings.mainAddress = "127.0.0.1:1/x";
  EXPECT_EQ(Run(), (std::vector<Step>{{kStepNoServer, "", 0}}));
  // Addresses are normalised for the rebuilt client even when no server answered.
  EXPECT_EQ(state_.settings.mainAddress, "http://127.0.0.1:1/x/");

  server_.SetAnswer("/u/Updates/", OkAnswer("index"));
  server_.SetAnswer("/u/updatescript.ini", OkAnswer("releases{\n0.9\n1.0\n}\n"));
  state_.settings.mainAddress = Address("/u");
  EXPECT_EQ(Run(), (std::vector<Step>{{kStepConnected, "", 0}, {kStepNoNewVersion, "", 0}}));
}

}  // namespace
