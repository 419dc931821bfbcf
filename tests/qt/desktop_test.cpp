// The Linux counterparts of the Windows stores: the INI file, the login entry,
// the system-information lookup and the one running copy.
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <cstring>

#include "fixture.h"
#include "platform/qt/autostart.h"
#include "platform/qt/instance.h"
#include "platform/winapi.h"

namespace velmora::qttest {
namespace {

using DesktopTest = QtTest;

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

void expectValidDesktopFile(const QString& path) {
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (validator.isEmpty()) return;
    QProcess check;
    check.start(validator, {path});
    ASSERT_TRUE(check.waitForFinished(10000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString();
    EXPECT_EQ(check.readAllStandardOutput(), "") << "not even a hint";
}

TEST_F(DesktopTest, StoreKeepsTextExactlyInTheConfigGroup) {
    auto& store = platform->settings;
    EXPECT_EQ(store.tryGet("velmora", "config", "red"), std::nullopt) << "never written is none";
    EXPECT_FALSE(QFile::exists(iniPath())) << "reading creates nothing";

    const std::vector<std::string> values = {" 7200",       "-300",   " 0", "1,2", "a;b",
                                             "@Variant(x)", "\"q\"",  "1 ", "#x",  "a\\b",
                                             "tab\there",   "ümlaut", "",   "[s]", "=x"};
    for (std::size_t i = 0; i < values.size(); ++i) {
        ASSERT_TRUE(store.save("velmora", "config", "k" + std::to_string(i), values[i]));
    }
    store.save("other", "config", "red", "99");
    store.save("velmora", "other", "red", "77");
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(stored("k" + std::to_string(i)), values[i]) << "value " << i;
    }
    EXPECT_EQ(store.tryGet("velmora", "config", "k12"), "") << "written empty is there, with no text";
    EXPECT_EQ(store.get("other", "config", "red"), "99");
    EXPECT_EQ(store.get("velmora", "other", "red"), "77");
    EXPECT_TRUE(contents(iniPath()).startsWith("[config]\n")) << contents(iniPath()).toStdString();
    EXPECT_TRUE(contents(iniPath()).contains("k0=\" 7200\"\n")) << "a leading blank is kept by quoting";
    EXPECT_TRUE(QFile::exists(home.path() + "/other/other.ini"));

    // Names never become paths of their own.
    EXPECT_FALSE(store.save("../evil", "config", "red", "1"));
    EXPECT_FALSE(store.save("velmora", "a/b", "red", "1"));
    EXPECT_FALSE(store.save("velmora", "config", "", "1"));
    EXPECT_EQ(store.get("..", "config", "red"), "");
}

TEST_F(DesktopTest, StoreWritesWholeFilesAndSurvivesBadOnes) {
    auto& store = platform->settings;
    ASSERT_TRUE(store.save("velmora", "config", "red", "12"));
    const QStringList left = QDir(home.path() + "/velmora").entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{"velmora.ini"}) << "no temporary or lock file stays behind";

    // A file that is not INI at all reads as nothing set and is replaced by a good one.
    writeFile(iniPath(), QByteArray("\x01\x02\xff\xfe garbage [[[ = =\n\n[config\0\0", 30));
    EXPECT_EQ(store.get("velmora", "config", "red"), "");
    EXPECT_TRUE(store.save("velmora", "config", "red", " 5")) << "the write went through";
    EXPECT_EQ(stored("red"), " 5");
    EXPECT_TRUE(store.save("velmora", "config", "green", " 6")) << "and the next one too";

    // Hand-edited text with bare commas still reads as text.
    writeFile(iniPath(), "[config]\nred=1, 2\n");
    EXPECT_EQ(store.get("velmora", "config", "red"), "1, 2");

    // A file that cannot be written: false, nothing else.
    QFile::remove(iniPath());
    ASSERT_TRUE(QDir().mkpath(iniPath()));
    EXPECT_FALSE(store.save("velmora", "config", "red", "1"));
    EXPECT_EQ(store.get("velmora", "config", "red"), "");

    // A pipe would block the first read for ever: it is a store that cannot be used, and stays a pipe.
    QDir(iniPath()).removeRecursively();
    ASSERT_EQ(::mkfifo(iniPath().toUtf8().constData(), 0600), 0);
    EXPECT_EQ(store.tryGet("velmora", "config", "red"), std::nullopt);
    EXPECT_FALSE(store.save("velmora", "config", "red", "1"));
    EXPECT_EQ(QFileInfo(iniPath()).isFile(), false);
    EXPECT_TRUE(QFileInfo(iniPath()).exists());
}

TEST_F(DesktopTest, StoreFolderFollowsXdgConfigHome) {
    EXPECT_EQ(platform->configHome(), home.path().toStdString());
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "relative/path");
    EXPECT_EQ(platform::qt::userConfigHome(), (QDir::homePath() + "/.config").toStdString())
        << "a relative folder is not a valid setting";
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(platform::qt::userConfigHome(), (QDir::homePath() + "/.config").toStdString());
    qputenv("XDG_CONFIG_HOME", saved);
}

TEST_F(DesktopTest, LoginEntryIsAValidDesktopFileThatQuotesItsPath) {
    namespace autostart = platform::qt::autostart;
    // Quoting inside the Exec value, then the string escapes of the file itself.
    EXPECT_EQ(autostart::execArgument("/usr/bin/velmora"), "\"/usr/bin/velmora\"");
    EXPECT_EQ(autostart::execArgument("/opt/my apps/vel\"m$ora%\\x`y"),
              "\"/opt/my apps/vel\\\\\"m\\\\$ora%%\\\\\\\\x\\\\`y\"");
    EXPECT_EQ(autostart::execArgument("/a\nb"), "\"/a\\nb\"");

    const std::string exe = "/opt/Velmora 1.0/bin/velmora ($test)";
    ASSERT_TRUE(platform->desktop.writeStartupEntry(exe));
    const QString entry = home.path() + "/autostart/velmora.desktop";
    const QByteArray text = contents(entry);
    EXPECT_TRUE(text.contains("Exec=\"/opt/Velmora 1.0/bin/velmora (\\\\$test)\"\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("TryExec=/opt/Velmora 1.0/bin/velmora ($test)\n")) << "skipped once the program is gone";
    expectValidDesktopFile(entry);

    EXPECT_TRUE(platform->desktop.removeStartupEntry());
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_FALSE(platform->desktop.removeStartupEntry()) << "nothing left to remove";

    // What an older version left empty or cut short on a full disk is ours; an
    // entry with anything of the person's in it is theirs.
    const QByteArray ours = autostart::entryText("/usr/bin/velmora").toUtf8();
    const int exec = static_cast<int>(ours.indexOf("Exec="));
    for (const QByteArray& left : {QByteArray(), ours.left(20), ours.left(exec + 9), ours.left(ours.size() - 5)}) {
        writeFile(entry, left);
        EXPECT_TRUE(platform->desktop.removeStartupEntry()) << left.toStdString();
        EXPECT_FALSE(QFile::exists(entry));
    }
    for (const QByteArray& theirs : {QByteArray("[Desktop Entry]\nType=Application\nName=Mine\nExec=velmora\n"),
                                     ours.left(exec) + "Exec=velmora\nName=Mine\n", QByteArray("\n")}) {
        writeFile(entry, theirs);
        EXPECT_FALSE(platform->desktop.removeStartupEntry()) << theirs.toStdString();
        EXPECT_TRUE(QFile::exists(entry));
    }
}

TEST_F(DesktopTest, ALauncherStartsTheLoginEntryOfAProgramInAFolderWithAPercentSign) {
    const QString gio = QStandardPaths::findExecutable("gio");
    if (gio.isEmpty()) GTEST_SKIP() << "gio (Debian's libglib2.0-bin) is not installed";
    QTemporaryDir bin;
    const QString program = bin.path() + "/my 100% apps/velmora";
    writeFile(program, QString("#!/bin/sh\ntouch '%1/ran'\n").arg(bin.path()).toUtf8());
    QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
    ASSERT_TRUE(platform->desktop.writeStartupEntry(program.toStdString()));
    const QString entry = home.path() + "/autostart/velmora.desktop";
    expectValidDesktopFile(entry);

    QProcess launch;
    launch.start(gio, {"launch", entry});
    ASSERT_TRUE(launch.waitForFinished(10000));
    EXPECT_EQ(launch.exitCode(), 0) << launch.readAllStandardError().toStdString() << contents(entry).toStdString();
    EXPECT_TRUE(waitFor([&] { return QFile::exists(bin.path() + "/ran"); })) << "the program started";
}

// A small file system of its own, filled to the last byte on request.
class SmallDisk {
public:
    SmallDisk() { mounted_ = ::mount("tmpfs", dir_.path().toUtf8().constData(), "tmpfs", 0, "size=16k") == 0; }
    ~SmallDisk() {
        if (mounted_) ::umount2(dir_.path().toUtf8().constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }
    QString path() const { return dir_.path(); }
    void fill() {
        QFile filler(dir_.path() + "/filler");
        filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        const QByteArray block(512, 'x');
        while (filler.write(block) == block.size()) {
        }
    }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

TEST_F(DesktopTest, LoginEntryOnAFullDiskIsWholeOrNotThere) {
    namespace autostart = platform::qt::autostart;
    SmallDisk disk;
    if (!disk.mounted()) GTEST_SKIP() << "mounting a small file system needs root";
    const QString folder = disk.path() + "/autostart";
    const QString entry = folder + "/velmora.desktop";
    ASSERT_TRUE(autostart::write(folder, "/usr/bin/velmora"));
    const QByteArray whole = contents(entry);
    disk.fill();

    EXPECT_FALSE(autostart::write(folder, "/opt/elsewhere/velmora")) << "a failed write says so";
    EXPECT_EQ(contents(entry), whole) << "the entry there stays as it was";
    ASSERT_TRUE(QFile::remove(entry));
    disk.fill();
    EXPECT_FALSE(autostart::write(folder, "/usr/bin/velmora"));
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{})
        << "nothing rather than half an entry";
}

TEST_F(DesktopTest, SystemInformationToolIsFoundOnPath) {
    const QByteArray savedPath = qgetenv("PATH");
    QTemporaryDir bin;
    const QString tool = bin.path() + "/kinfocenter";
    writeFile(tool, "#!/bin/sh\n");
    QFile::setPermissions(tool, QFile::ReadOwner | QFile::ExeOwner);
    qputenv("PATH", bin.path().toUtf8());

    platform::Handle key = 0;
    auto open = [&key, this](platform::Handle root, const char* subKey) {
        return platform->native.regOpenKeyEx(root, subKey, 0, win::KEY_ALL_ACCESS, key);
    };
    EXPECT_EQ(open(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location"), win::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(open(0, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), win::ERROR_FILE_NOT_FOUND)
        << "only under the local machine's key";
    ASSERT_EQ(open(win::HKEY_LOCAL_MACHINE, "software\\microsoft\\shared tools\\msinfo"), win::ERROR_SUCCESS);
    unsigned type = 0;
    std::string small(4, '\0');
    unsigned size = 4;
    EXPECT_EQ(platform->native.regQueryValueEx(key, "PATH", type, small, size), win::ERROR_MORE_DATA)
        << "too small a buffer";
    EXPECT_EQ(size, tool.size() + 1);
    std::string data(1024, '\0');
    size = 1024;
    EXPECT_EQ(platform->native.regQueryValueEx(key, "Other", type, data, size), win::ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(platform->native.regQueryValueEx(key, "PATH", type, data, size), win::ERROR_SUCCESS);
    EXPECT_EQ(type, win::REG_SZ);
    EXPECT_EQ(data.substr(0, size), tool.toStdString() + '\0') << "with its terminating zero";
    EXPECT_EQ(platform->native.regCloseKey(key), win::ERROR_SUCCESS);
    EXPECT_EQ(platform->native.regCloseKey(key), win::ERROR_INVALID_HANDLE);

    qputenv("PATH", bin.path().toUtf8() + "/none");
    EXPECT_EQ(open(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), win::ERROR_FILE_NOT_FOUND)
        << "no tool installed: the key does not exist";
    qputenv("PATH", savedPath);
}

TEST_F(DesktopTest, ASecondCopyTellsTheFirstAndLeaves) {
    QTemporaryDir runtime;
    int told = 0;
    platform::qt::SingleInstance first(runtime.path(), [&] { ++told; });
    platform::qt::SingleInstance second(runtime.path(), [] {});
    ASSERT_TRUE(first.becomePrimary("show"));
    EXPECT_TRUE(first.becomePrimary("show")) << "asking again changes nothing";
    const QByteArray path = QFile::encodeName(runtime.path() + "/velmora.socket");
    struct stat socketFile {};
    ASSERT_EQ(::stat(path.constData(), &socketFile), 0);
    EXPECT_EQ(socketFile.st_mode & 0777, 0600U) << "only its owner may reach it";

    // A stranger that connects and says nothing keeps no one waiting, and its rubbish is ignored.
    const platform::qt::UniqueFd stranger(::socket(AF_UNIX, SOCK_STREAM, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    ASSERT_EQ(::connect(stranger.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_FALSE(second.becomePrimary("show"));
    EXPECT_TRUE(waitFor([&] { return told == 1; })) << "the first copy hears of the second";
    const QByteArray rubbish = "rubbish and more rubbish\n";
    ASSERT_EQ(::send(stranger.get(), rubbish.constData(), static_cast<std::size_t>(rubbish.size()), 0), rubbish.size());
    QTest::qWait(100);
    EXPECT_EQ(told, 1);
}

TEST_F(DesktopTest, OnlyALiveCopyKeepsTheNextOut) {
    // What a crash, an older version or a stranger may leave where the lock lives.
    const std::vector<std::pair<const char*, std::function<void(const QString&)>>> leftovers = {
        {"empty", [](const QString& lock) { writeFile(lock, ""); }},
        {"foreign", [](const QString& lock) { writeFile(lock, "4242\nsomething\nelsewhere\n"); }},
        {"unreadable",
         [](const QString& lock) {
             writeFile(lock, "1\n");
             QFile::setPermissions(lock, {});
         }},
        {"a folder", [](const QString& lock) { QDir().mkpath(lock + "/inside"); }},
    };
    for (const auto& [what, leave] : leftovers) {
        SCOPED_TRACE(what);
        QTemporaryDir runtime;
        leave(runtime.path() + "/velmora.lock");
        int told = 0;
        platform::qt::SingleInstance first(runtime.path(), [&] { ++told; });
        platform::qt::SingleInstance second(runtime.path(), [] {});
        EXPECT_TRUE(first.becomePrimary("show"));
        EXPECT_FALSE(second.becomePrimary("show")) << "the copy that started is the only one";
        EXPECT_TRUE(waitFor([&] { return told == 1; }));
    }

    // A copy killed while it held the lock: the kernel let go of it.
    QTemporaryDir runtime;
    const QString lock = runtime.path() + "/velmora.lock";
    QProcess holder;
    holder.start("sh", {"-c", "exec 9>\"$0\"; flock 9; echo held; exec sleep 60", lock});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    holder.kill();
    ASSERT_TRUE(holder.waitForFinished(10000));
    platform::qt::SingleInstance next(runtime.path(), [] {});
    EXPECT_TRUE(next.becomePrimary("show"));
}

}  // namespace
}  // namespace velmora::qttest
