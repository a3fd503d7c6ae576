// DzPlugin: what a plug-in library tells the host about itself (name, author,
// version, description) and the class factories it brings. The factories are
// not owned: they are static objects of the plug-in library.
//
// The registration macros at the end build one static DzPlugin per library,
// the two entry points the host looks up by name after loading it
// (getSDKVersion, getPluginDefinition), and one static factory per class.
//
// What still differs from the host: of the registration macros only those the
// plug-in uses are defined (definition, author, version, description, a class
// with its GUID); activation policies, registration prefixes, extra object I/O
// and the status strings and icon are left out. The entry points' linkage is
// explained below.
#pragma once

#include "dzclassfactory.h"
#include "dzgeneraldefs.h"
#include "dzguid.h"
#include "dzversion.h"

#include <QtCore/QMetaType>
#include <QtCore/QObject>
#include <QtCore/QString>

typedef QListIterator<DzClassFactory*> DzClassFactoryIterator;

class DZ_EXPORT DzPlugin : public QObject {
    Q_OBJECT
public:
    enum Status { Loaded, RequiresRestart, ManuallyDisabled, EvaluationInvalid, Failed };
    Q_ENUM(Status)

    explicit DzPlugin(const QString& name, const QString& author = QString(),
                      const QString& description = QString(), ushort major = 0, ushort minor = 0,
                      ushort revision = 0, ushort build = 0);
    ~DzPlugin() override;

    // Factories in the order they were added; a null factory is ignored.
    void addClassFactory(DzClassFactory* factory);
    DzClassFactoryIterator getFactories() const { return DzClassFactoryIterator(m_factories); }

public slots:
    QString getName() const { return m_name; }
    QString getDescription() const { return m_description; }
    QString getAuthor() const { return m_author; }
    DzVersion getVersion() const { return m_version; }
    QString getVersionString() const { return m_version.getVersionString(); }
    // The file the host loaded the plug-in from; empty until the host sets it.
    QString getFilename() const { return m_filename; }
    Status getStatus() const { return m_status; }
    bool isActivated() const { return m_status == Loaded; }

protected:
    virtual void startup() {}
    virtual void shutdown() {}
    void setDescription(const QString& description) { m_description = description; }
    void setAuthor(const QString& author) { m_author = author; }
    void setVersion(ushort major, ushort minor, ushort revision, ushort build) {
        m_version = DzVersion(major, minor, revision, build);
    }
    void setLoadOnStart(bool onStart) { m_loadOnStart = onStart; }

private:
    friend class DzPluginHelper;

    QString m_name;
    QString m_author;
    QString m_description;
    DzVersion m_version;
    QString m_filename;
    Status m_status = Loaded;
    bool m_loadOnStart = true;
    QList<DzClassFactory*> m_factories;
};

// Gives the registration macros access to the plug-in's protected setters.
class DZ_EXPORT DzPluginHelper {
protected:
    explicit DzPluginHelper(DzPlugin* plugin) : m_plugin(plugin) {}
    void setDescription(const QString& text) { m_plugin->setDescription(text); }
    void setAuthor(const QString& text) { m_plugin->setAuthor(text); }
    void setVersion(ushort major, ushort minor, ushort revision, ushort build) {
        m_plugin->setVersion(major, minor, revision, build);
    }
    void setLoadOnStart(bool onStart) { m_plugin->setLoadOnStart(onStart); }

private:
    DzPlugin* m_plugin;
};

// The two entry points, exported with C names on every platform, which are the
// names the host looks up. They return a C++ value and a pointer to a C++
// class, which C linkage does not mind in practice; clang's warning about it
// is silenced.
//
// What differs from the host: on Windows the host's header gives them C++
// linkage (with dllexport), so a module built against it exports decorated
// names, and its build links a module-definition file that exports the plain
// names (see cmake/YfxHostSdk.cmake). The stand-in gives them C linkage there
// too, so that a module built against it needs no such file.
#if defined(_WIN32)
#define DZ_PLUGIN_ENTRY_LINKAGE extern "C" __declspec(dllexport)
#define DZ_PLUGIN_DLLMAIN                                                                          \
    extern "C" int __stdcall DllMain(void*, unsigned long, void*) {                                \
        return 1;                                                                                  \
    }
#else
#define DZ_PLUGIN_ENTRY_LINKAGE extern "C" __attribute__((visibility("default")))
#define DZ_PLUGIN_DLLMAIN
#endif

#if defined(__clang__)
#define DZ_PLUGIN_PUSH_WARNINGS                                                                    \
    _Pragma("clang diagnostic push") _Pragma("clang diagnostic ignored "                           \
                                             "\"-Wreturn-type-c-linkage\"")
#define DZ_PLUGIN_POP_WARNINGS _Pragma("clang diagnostic pop")
#else
#define DZ_PLUGIN_PUSH_WARNINGS
#define DZ_PLUGIN_POP_WARNINGS
#endif

// The library's plug-in object, named `name`, and its two entry points.
#define DZ_PLUGIN_DEFINITION(name)                                                                 \
    static DzPlugin s_pluginDef(name);                                                             \
    DZ_PLUGIN_DLLMAIN                                                                              \
    DZ_PLUGIN_PUSH_WARNINGS                                                                        \
    DZ_PLUGIN_ENTRY_LINKAGE DzVersion getSDKVersion() {                                            \
        return DZ_SDK_VERSION;                                                                     \
    }                                                                                              \
    DZ_PLUGIN_ENTRY_LINKAGE DzPlugin* getPluginDefinition() {                                      \
        return &s_pluginDef;                                                                       \
    }                                                                                              \
    DZ_PLUGIN_POP_WARNINGS

#define DZ_PLUGIN_AUTHOR(author)                                                                   \
    namespace {                                                                                    \
    class DzPluginAuthorSetter : public DzPluginHelper {                                           \
    public:                                                                                        \
        DzPluginAuthorSetter() : DzPluginHelper(&s_pluginDef) { setAuthor(author); }               \
    };                                                                                             \
    DzPluginAuthorSetter s_pluginAuthorSetter;                                                     \
    }

#define DZ_PLUGIN_VERSION(major, minor, revision, build)                                           \
    namespace {                                                                                    \
    class DzPluginVersionSetter : public DzPluginHelper {                                          \
    public:                                                                                        \
        DzPluginVersionSetter() : DzPluginHelper(&s_pluginDef) {                                   \
            setVersion(major, minor, revision, build);                                             \
        }                                                                                          \
    };                                                                                             \
    DzPluginVersionSetter s_pluginVersionSetter;                                                   \
    }

#define DZ_PLUGIN_DESCRIPTION(description)                                                         \
    namespace {                                                                                    \
    class DzPluginDescriptionSetter : public DzPluginHelper {                                      \
    public:                                                                                        \
        DzPluginDescriptionSetter() : DzPluginHelper(&s_pluginDef) {                               \
            setDescription(description);                                                           \
        }                                                                                          \
    };                                                                                             \
    DzPluginDescriptionSetter s_pluginDescriptionSetter;                                           \
    }

// A factory class `Type##Factory` for Type with the GUID written bare
// (unquoted), its GUID `Type##GUID` parsed first, and one static instance that
// adds itself to the plug-in object. Also declares the meta-type Type*.
#define DZ_PLUGIN_CLASS_GUID(Type, guid)                                                           \
    Q_DECLARE_METATYPE(Type*)                                                                      \
    static const DzGuid Type##GUID = DzGuid::fromString(QString::fromLatin1(#guid));               \
    class Type##Factory : public DzTClassFactory<Type> {                                           \
    public:                                                                                        \
        Type##Factory() : DzTClassFactory<Type>(Type##GUID, QScriptEngine::QtOwnership) {          \
            s_pluginDef.addClassFactory(this);                                                     \
        }                                                                                          \
    };                                                                                             \
    static Type##Factory s_##Type##Factory;
