// Registration of the library with the real registration tool, creation of its objects by
// class identifier, and the ways creation fails.

#include "lib/include/OrvoLib22.h"
#include "runtime/ComCreate.h"
#include "runtime/ComErrorInfo.h"
#include "runtime/ComPtr.h"
#include "runtime/ComServer.h"
#include "runtime/RegistryStore.h"
#include "runtime/RuntimeError.h"
#include "tests/lib/LibTestSupport.h"
#include "tests/support/LibraryRegistration.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>

#include <set>

using rt::com::ComPtr;
using rt::com::guidToString;

namespace {

constexpr int32_t kRoot = rt::reg::ClassesRoot;

struct ToolRun {
  int exitCode = -1;
  QString output;
};

ToolRun runTool(const QStringList& args, const QString& configHome) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
  process.setProcessEnvironment(env);
  process.start(testsupport::registrationToolPath(), args);
  if (!process.waitForFinished(60000)) return {};
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError())};
}

// Every key of the HKEY_CLASSES_ROOT hive, as its text form lists them.
std::set<QString> classesRootKeys() {
  const QString text = QString::fromUtf8(testsupport::readFile(rt::reg::hiveFile(kRoot)));
  const QString prefix = QStringLiteral("[HKEY_CLASSES_ROOT\\");
  std::set<QString> keys;
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    const QString l = line.trimmed();
    if (l.startsWith(prefix) && l.endsWith(QLatin1Char(']'))) keys.insert(l.mid(prefix.size()).chopped(1));
  }
  return keys;
}

bool isRegistered(const OrvoLib22::ClassInfo& info) {
  return rt::reg::keyExists(kRoot, QStringLiteral("CLSID\\") + guidToString(info.clsid));
}

// The keys a registration of these classes must hold, no more, no less.
std::set<QString> expectedKeys(const std::vector<const OrvoLib22::ClassInfo*>& classes) {
  const QString lib = QStringLiteral("TypeLib\\") + guidToString(OrvoLib22::kLibraryId);
  std::set<QString> keys{QStringLiteral("TypeLib"),
                         lib,
                         lib + QStringLiteral("\\1.0"),
                         lib + QStringLiteral("\\1.0\\409"),
                         lib + QStringLiteral("\\1.0\\409\\linux"),
                         lib + QStringLiteral("\\1.0\\FLAGS"),
                         lib + QStringLiteral("\\1.0\\HELPDIR"),
                         QStringLiteral("CLSID"),
                         QStringLiteral("Interface")};
  for (const auto* info : classes) {
    const QString c = QStringLiteral("CLSID\\") + guidToString(info->clsid);
    const QString p = QStringLiteral("OrvoLib22.") + QLatin1String(info->name);
    const QString i = QStringLiteral("Interface\\") + guidToString(info->iid);
    keys.insert({c, c + QStringLiteral("\\ProgID"), c + QStringLiteral("\\InprocServer32"),
                 c + QStringLiteral("\\TypeLib"), c + QStringLiteral("\\VERSION"), p,
                 p + QStringLiteral("\\CLSID"), i, i + QStringLiteral("\\TypeLib")});
  }
  return keys;
}

std::vector<const OrvoLib22::ClassInfo*> registeredClasses() {
  std::vector<const OrvoLib22::ClassInfo*> out;
  for (const auto* info : OrvoLib22::kClasses) {
    if (isRegistered(*info)) out.push_back(info);
  }
  return out;
}

// Registers a made-up class whose server is serverPath.
CLSID registerFakeClass(const QString& serverPath, const char* text) {
  const CLSID clsid = *rt::com::guidFromString(QString::fromLatin1(text));
  const QString key = QStringLiteral("CLSID\\%1\\InprocServer32").arg(guidToString(clsid));
  EXPECT_TRUE(rt::reg::createKey(kRoot, key));
  EXPECT_TRUE(rt::reg::setValue(kRoot, key, QString(), serverPath));
  return clsid;
}

}  // namespace

TEST(ComRegistration, ToolRegistersUnregistersAndRegistersAgainExactly) {
  ASSERT_FALSE(testsupport::registrationToolPath().isEmpty());
  libtest::PrivateRegistry registry;
  const QString library = testsupport::builtLibraryPath();

  ASSERT_EQ(runTool({library}, registry.home()).exitCode, 0);
  const auto classes = registeredClasses();
  const std::set<QString> names = [&] {
    std::set<QString> n;
    for (const auto* c : classes) n.insert(QLatin1String(c->name));
    return n;
  }();
  EXPECT_TRUE(names.count(QStringLiteral("HexFunctions")) && names.count(QStringLiteral("IniParam")));
  EXPECT_EQ(classesRootKeys(), expectedKeys(classes));

  // The values a client and the type library rely on.
  const QString clsid = guidToString(CLSID_IniParam);
  const QString server = QStringLiteral("CLSID\\%1\\InprocServer32").arg(clsid);
  EXPECT_EQ(rt::reg::queryValue(kRoot, server, QString()), QFileInfo(library).absoluteFilePath());
  EXPECT_EQ(rt::reg::queryValue(kRoot, server, QStringLiteral("ThreadingModel")), QStringLiteral("Apartment"));
  EXPECT_EQ(rt::reg::queryValue(kRoot, QStringLiteral("CLSID\\") + clsid, QString()),
            QStringLiteral("Fonctions relatives aux fichiers de paramètres privés"));
  EXPECT_EQ(rt::reg::queryValue(kRoot, QStringLiteral("OrvoLib22.IniParam\\CLSID"), QString()), clsid);
  EXPECT_EQ(rt::reg::queryValue(kRoot, QStringLiteral("Interface\\") + guidToString(IID__IniParam), QString()),
            QStringLiteral("_IniParam"));
  EXPECT_EQ(rt::reg::queryValue(kRoot, QStringLiteral("TypeLib\\%1\\1.0").arg(guidToString(OrvoLib22::kLibraryId)),
                                QString()),
            QStringLiteral("OrvoLib22"));

  // Another program's keys survive; ours go.
  ASSERT_TRUE(rt::reg::createKey(kRoot, QStringLiteral(".jpg")));
  ASSERT_EQ(runTool({QStringLiteral("-u"), library}, registry.home()).exitCode, 0);
  EXPECT_EQ(classesRootKeys(), std::set<QString>{QStringLiteral(".jpg")});
  ASSERT_TRUE(rt::reg::deleteKey(kRoot, QStringLiteral(".jpg")));

  ASSERT_EQ(runTool({library}, registry.home()).exitCode, 0);
  EXPECT_EQ(classesRootKeys(), expectedKeys(classes));
  // Registering twice changes nothing.
  ASSERT_EQ(runTool({library}, registry.home()).exitCode, 0);
  EXPECT_EQ(classesRootKeys(), expectedKeys(classes));
}

TEST(ComRegistration, ToolRefusesBadArgumentsWithItsExitCodes) {
  libtest::PrivateRegistry registry;
  const QString folder = testsupport::makeTempDir();
  const QString textFile = folder + QStringLiteral("/not-a-library.so");
  ASSERT_TRUE(testsupport::writeFile(textFile, "plain text"));
  // A real shared library that is not a component server.
  const QString qtCore = rt::com::moduleFilePath(reinterpret_cast<const void*>(&qVersion));
  ASSERT_FALSE(qtCore.isEmpty());

  EXPECT_EQ(runTool({}, registry.home()).exitCode, 1);
  EXPECT_EQ(runTool({QStringLiteral("-u")}, registry.home()).exitCode, 1);
  EXPECT_EQ(runTool({QStringLiteral("a"), QStringLiteral("b")}, registry.home()).exitCode, 1);
  const ToolRun missing = runTool({folder + QStringLiteral("/absent.so")}, registry.home());
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_TRUE(missing.output.contains(QStringLiteral("introuvable"))) << missing.output.toStdString();
  EXPECT_EQ(runTool({folder}, registry.home()).exitCode, 2);
  EXPECT_EQ(runTool({textFile}, registry.home()).exitCode, 3);
  EXPECT_EQ(runTool({qtCore}, registry.home()).exitCode, 3);
  EXPECT_TRUE(classesRootKeys().empty());
}

TEST(ComRegistration, ToolNamesAHiveTooLargeToUseAndLeavesIt) {
  libtest::PrivateRegistry registry;
  const QString hive = rt::reg::hiveFile(kRoot);
  ASSERT_TRUE(QDir().mkpath(QFileInfo(hive).absolutePath()));
  ASSERT_TRUE(testsupport::writeFile(hive, "Windows Registry Editor Version 5.00\r\n"));
  ASSERT_TRUE(QFile(hive).resize(64 * 1024 * 1024 + 1));  // sparse: over the store's cap
  const ToolRun run = runTool({testsupport::builtLibraryPath()}, registry.home());
  EXPECT_EQ(run.exitCode, 4);
  EXPECT_TRUE(run.output.contains(QStringLiteral("Le fichier « %1 » dépasse la taille maximale de 64 Mo").arg(hive)))
      << run.output.toStdString();
  EXPECT_EQ(run.output.count(QStringLiteral("dépasse")), 1);
  EXPECT_EQ(QFileInfo(hive).size(), 64 * 1024 * 1024 + 1);
  EXPECT_FALSE(QFileInfo::exists(hive + QStringLiteral(".damaged")));
}

TEST(ComCreation, CreatesEveryRegisteredClassByIdentifier) {
  int created = 0;
  for (const auto* info : OrvoLib22::kClasses) {
    if (!isRegistered(*info)) continue;
    ComPtr<IDispatch> object;
    QString detail;
    ASSERT_EQ(rt::com::createInstance(info->clsid, info->iid, object.put(), &detail), S_OK)
        << info->name << ": " << detail.toStdString();
    ASSERT_TRUE(object);
    // The same object answers for its interface, the dispatch interface and the error records.
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, unknown.put()), S_OK);
    EXPECT_TRUE(object.as<IErrorRecordSource>());
    ComPtr<IUnknown> other;
    EXPECT_EQ(object->QueryInterface(IID__StringArray == info->iid ? IID__KeyFilter : IID__StringArray, other.put()),
              E_NOINTERFACE);
    EXPECT_FALSE(other);
    ++created;
  }
  EXPECT_GE(created, 2);

  ComPtr<_HexFunctions> hex;
  ASSERT_EQ(rt::com::createInstance(CLSID_HexFunctions, hex), S_OK);
  ComPtr<_IniParam> ini;
  ASSERT_EQ(rt::com::createInstance(CLSID_IniParam, ini), S_OK);
  // Asking a class for another class's interface fails cleanly.
  ComPtr<_IniParam> wrong;
  EXPECT_EQ(rt::com::createInstance(CLSID_HexFunctions, IID__IniParam, wrong.put()), E_NOINTERFACE);
  EXPECT_FALSE(wrong);
}

TEST(ComCreation, FailsWithAClearStatusWhenTheClassCannotBeCreated) {
  libtest::PrivateRegistry registry;
  const QString folder = testsupport::makeTempDir();
  ComPtr<IUnknown> object;

  // Not registered at all.
  QString detail;
  EXPECT_EQ(rt::com::createInstance(CLSID_HexFunctions, IID_IUnknown, object.put(), &detail),
            REGDB_E_CLASSNOTREG);
  EXPECT_FALSE(object);
  EXPECT_FALSE(detail.isEmpty());

  // Registered to a file that does not exist, to a folder, to a file that is no library, to
  // a library that is no component server.
  const CLSID gone = registerFakeClass(folder + QStringLiteral("/gone.so"), "{11111111-2222-3333-4444-555555555555}");
  EXPECT_EQ(rt::com::createInstance(gone, IID_IUnknown, object.put()), CO_E_DLLNOTFOUND);
  const CLSID dir = registerFakeClass(folder, "{11111111-2222-3333-4444-555555555556}");
  EXPECT_EQ(rt::com::createInstance(dir, IID_IUnknown, object.put()), CO_E_DLLNOTFOUND);
  const QString textFile = folder + QStringLiteral("/text.so");
  ASSERT_TRUE(testsupport::writeFile(textFile, "\x7f" "ELF but not really"));
  const CLSID text = registerFakeClass(textFile, "{11111111-2222-3333-4444-555555555557}");
  EXPECT_EQ(rt::com::createInstance(text, IID_IUnknown, object.put()), CO_E_ERRORINDLL);
  const QString qtCore = rt::com::moduleFilePath(reinterpret_cast<const void*>(&qVersion));
  const CLSID plain = registerFakeClass(qtCore, "{11111111-2222-3333-4444-555555555558}");
  EXPECT_EQ(rt::com::createInstance(plain, IID_IUnknown, object.put()), CO_E_ERRORINDLL);

  // Registered to the real library, which does not carry that class.
  const CLSID foreign = registerFakeClass(testsupport::builtLibraryPath(), "{11111111-2222-3333-4444-555555555559}");
  EXPECT_EQ(rt::com::createInstance(foreign, IID_IUnknown, object.put()), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_FALSE(object);

  // On the client side every one of these is error 429 with the runtime's text.
  try {
    rt::com::raiseOnFailure(REGDB_E_CLASSNOTREG, nullptr);
    FAIL() << "no error raised";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), 429);
    EXPECT_EQ(e.description(), QStringLiteral("Un composant ActiveX ne peut pas créer l'objet"));
  }
}

TEST(ComServerLifetime, CanUnloadOnlyWhenNoObjectOrLockIsAlive) {
  const QString library = testsupport::builtLibraryPath();
  ASSERT_EQ(rt::com::serverCanUnloadNow(library), S_OK);
  {
    ComPtr<_HexFunctions> hex;
    ASSERT_EQ(rt::com::createInstance(CLSID_HexFunctions, hex), S_OK);
    ComPtr<_HexFunctions> second = hex;  // one object, two references
    hex.reset();
    EXPECT_EQ(rt::com::serverCanUnloadNow(library), S_FALSE);
  }
  EXPECT_EQ(rt::com::serverCanUnloadNow(library), S_OK);

  auto getClassObject = reinterpret_cast<DllGetClassObjectFn>(rt::com::serverEntry(library, "DllGetClassObject"));
  ASSERT_NE(getClassObject, nullptr);
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(getClassObject(CLSID_IniParam, IID_IClassFactory, factory.put()), S_OK);
  EXPECT_EQ(factory->LockServer(1), S_OK);
  factory.reset();
  EXPECT_EQ(rt::com::serverCanUnloadNow(library), S_FALSE);
  ASSERT_EQ(getClassObject(CLSID_IniParam, IID_IClassFactory, factory.put()), S_OK);
  EXPECT_EQ(factory->LockServer(0), S_OK);
  ComPtr<IUnknown> aggregated;
  EXPECT_EQ(factory->CreateInstance(factory.get(), IID_IUnknown, aggregated.put()), CLASS_E_NOAGGREGATION);
  factory.reset();
  EXPECT_EQ(rt::com::serverCanUnloadNow(library), S_OK);
}

TEST(ComServerLifetime, ReportsItsFileVersion) {
  const auto version = rt::com::serverVersion(testsupport::builtLibraryPath());
  ASSERT_TRUE(version);
  EXPECT_EQ(*version, (ServerVersion{2, 2, 0, 83}));
  EXPECT_EQ(*version, OrvoLib22::kFileVersion);
  // The shared library's own file carries the version too.
  EXPECT_TRUE(QFileInfo(testsupport::builtLibraryPath()).fileName().endsWith(QStringLiteral(".so.2.2.0.83")));
}
