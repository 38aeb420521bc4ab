// The download of babadif.csv from a local HTTP server started here: a good
// file replaces the old one; a 404, an unreachable host and a body that is
// no babadif.csv fail with the failure message and keep the old file.
#include <QTcpServer>
#include <filesystem>
#include <QTcpSocket>
#include <gtest/gtest.h>

#include "babadif_download.h"
#include "cp932.h"
#include "fsys.h"
#include "inifile.h"
#include "media_view.h"
#include "test_support.h"

namespace tarvo {
namespace {

// One track data record of a local track: a date, a track code and 24 slots.
std::string babadifLine(const char* date, const char* jyo) {
    std::string line = std::string(date) + jyo;
    for (int s = 0; s < 24; ++s) line += s == 0 ? "+05T" : "****";
    return line + "\r\n";
}

// Answers GET /ok with a babadif.csv, /html with a web page and anything else with 404.
class LocalServer {
public:
    LocalServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    const QByteArray request = s->readAll();
                    const QByteArray path = request.split(' ').value(1);
                    QByteArray status = "200 OK", body;
                    if (path == "/ok") body = QByteArray::fromStdString(good);
                    else if (path == "/html") body = "<html><body>moved</body></html>\r\n";
                    else status = "404 Not Found", body = "not found";
                    s->write("HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) +
                             "\r\nConnection: close\r\n\r\n" + body);
                    s->disconnectFromHost();
                });
            }
        });
    }
    std::string url(const char* path) const { return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path; }

    std::string good = babadifLine("20240110", "44") + babadifLine("20240110", "45");

private:
    QTcpServer server_;
};

TEST(BabadifDownload, OnlyAGoodFileReplacesTheOldOne) {
    test::TempDir home;
    LocalServer server;
    const std::string folder = home.path() + "file/", target = folder + "babadif.csv";
    // The folder is made by the first download.
    DownloadOutcome o = downloadBabadif(server.url("/ok"), folder);
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.message, babadifDownloadedText(target));
    EXPECT_EQ(test::slurp(target), server.good);

    test::spit(target, "old");
    // A port nobody listens on: a server started and stopped at once.
    std::string closed;
    {
        QTcpServer gone;
        gone.listen(QHostAddress::LocalHost, 0);
        closed = "http://127.0.0.1:" + std::to_string(gone.serverPort()) + "/ok";
    }
    const std::pair<const char*, std::string> failures[] = {
        {"404", server.url("/missing")},
        {"web page", server.url("/html")},
        {"unreachable", closed},
        {"no address", "http://"},
    };
    for (const auto& [what, url] : failures) {
        o = downloadBabadif(url, folder, 5000);
        EXPECT_FALSE(o.ok) << what;
        EXPECT_EQ(o.message, babadifFailedText()) << what;
        EXPECT_EQ(test::slurp(target), "old") << what;
    }
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);

    // tarvo-cli download takes the address from --url or the settings.
    std::string out;
    EXPECT_EQ(test::runCli({"download", "babadif", "--url", server.url("/html"), "--home", home.path()}, out), 1);
    EXPECT_EQ(out, toUtf8(babadifFailedText()) + "\n");
    IniFile(home.path() + "tarvo.ini").write(kSupportSection, "babadif", server.url("/ok"));
    EXPECT_EQ(test::runCli({"download", "babadif", "--home", home.path()}, out), 0) << out;
    EXPECT_EQ(test::slurp(target), server.good);
}

TEST(BabadifDownload, BodiesAndAddresses) {
    const std::pair<std::string, bool> bodies[] = {
        {babadifLine("20240110", "44"), true},
        {babadifLine("20240110", "44") + babadifLine("20240111", "45") + "\r\n", true},
        {"", false},
        {"\r\n", false},
        {babadifLine("20241310", "44"), false},                   // no date
        {babadifLine("20240110", "44").substr(4), false},         // short line
        {babadifLine("20240110", "44") + "<html>\r\n", false},
    };
    for (const auto& [body, ok] : bodies) EXPECT_EQ(isBabadifBody(body), ok) << body;

    test::TempDir home;
    const std::string ini = home.path() + "tarvo.ini";
    EXPECT_EQ(babadifUrl(ini), "https://support.tarvo.example/file/babadif.csv");
    EXPECT_EQ(supportSiteUrl(ini), "https://support.tarvo.example/");
    IniFile(ini).write(kSupportSection, "top", "http://localhost/");
    EXPECT_EQ(supportSiteUrl(ini), "http://localhost/");
}

}  // namespace
}  // namespace tarvo
