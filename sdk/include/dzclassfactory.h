// DzClassFactory: how a plug-in hands its classes to the host. Each factory
// names one QObject class by its meta-object and a GUID, creates instances on
// demand and makes the class constructible from the host's scripts.
//
// DzTCustomClassFactory<T> adds the script side for a class T: a process-wide
// pointer to the factory, the meta-type "T*" with conversions to and from
// script values, and a constructor function named after the class on the
// engine's global object. DzTClassFactory<T> also creates instances with
// `new T` (so T needs a public default constructor); a failed allocation gives
// null. Objects made by a factory have no parent; the caller owns them.
#pragma once

#include "dzgeneraldefs.h"
#include "dzguid.h"

#include <QtCore/QList>
#include <QtCore/QListIterator>
#include <QtCore/QMetaObject>
#include <QtCore/QObject>
#include <QtCore/QVariantList>
#include <QtScript/QScriptContext>
#include <QtScript/QScriptEngine>
#include <QtScript/QScriptValue>

#include <new>

class DZ_EXPORT DzClassFactory {
public:
    DzClassFactory(const QMetaObject* metaObject, const DzGuid& classID);
    virtual ~DzClassFactory();

    // Creates an instance for a script call; the stand-in passes the call's
    // arguments on as variants to createInstance(const QVariantList&).
    virtual QObject* createInstance(QScriptContext* context) const;
    virtual QObject* createInstance() const = 0;
    virtual QObject* createInstance(const QVariantList& args) const = 0;
    // Makes the class known to a script engine. The stand-in's base registers
    // nothing; the templates below add the class's constructor.
    virtual void registerClass(QScriptEngine* engine) const;

    const QMetaObject* metaObject() const { return m_metaObject; }
    // The class name of the meta-object, e.g. "YFXExportFilter".
    const char* className() const;
    // True when the class is or derives from the named class.
    bool provides(const char* className) const;
    DzGuid classID() const { return m_classID; }

    // Puts every enum key of the meta-object (and of its base classes) on the
    // script object as a read-only, undeletable number property.
    static void registerEnumsOnClass(const QMetaObject* metaObject, QScriptValue& object);

private:
    const QMetaObject* m_metaObject;
    DzGuid m_classID;
};

template <class T> class DzTCustomClassFactory : public DzClassFactory {
public:
    explicit DzTCustomClassFactory(
        const DzGuid& classID, QScriptEngine::ValueOwnership ownership = QScriptEngine::QtOwnership)
        : DzClassFactory(&T::staticMetaObject, classID), m_ownership(ownership) {
        s_instance = this;
    }
    ~DzTCustomClassFactory() override {
        if (s_instance == this) {
            s_instance = nullptr;
        }
    }

    // The factory that script constructors of T create through, or null.
    static const DzTCustomClassFactory<T>* instance() { return s_instance; }
    QScriptEngine::ValueOwnership ownership() const { return m_ownership; }

    void registerClass(QScriptEngine* engine) const override {
        DzClassFactory::registerClass(engine);
        if (engine == nullptr) {
            return;
        }
        static const int typeId = qRegisterMetaType<T*>(QByteArray(className()) + '*');
        (void)typeId;
        qScriptRegisterMetaType<T*>(engine, &toScriptValue, &fromScriptValue);
        QScriptValue ctor = engine->newFunction(&construct);
        QScriptValue meta = engine->newQMetaObject(metaObject(), ctor);
        engine->globalObject().setProperty(QString::fromLatin1(className()), meta,
                                           QScriptValue::KeepExistingFlags);
    }

private:
    static QScriptValue toScriptValue(QScriptEngine* engine, T* const& object) {
        QScriptValue value = engine->newQObject(object);
        registerEnumsOnClass(&T::staticMetaObject, value);
        return value;
    }
    static void fromScriptValue(const QScriptValue& value, T*& object) {
        object = static_cast<T*>(T::staticMetaObject.cast(value.toQObject()));
    }
    static QScriptValue construct(QScriptContext* context, QScriptEngine* engine) {
        const DzTCustomClassFactory<T>* factory = s_instance;
        if (factory == nullptr) {
            return QScriptValue();
        }
        QObject* object = factory->createInstance(context);
        if (object == nullptr) {
            return QScriptValue();
        }
        QScriptValue value = engine->newQObject(object, factory->ownership());
        registerEnumsOnClass(&T::staticMetaObject, value);
        return value;
    }

    QScriptEngine::ValueOwnership m_ownership;
    static DzTCustomClassFactory<T>* s_instance;
};

template <class T> DzTCustomClassFactory<T>* DzTCustomClassFactory<T>::s_instance = nullptr;

template <class T> class DzTClassFactory : public DzTCustomClassFactory<T> {
public:
    explicit DzTClassFactory(const DzGuid& classID,
                             QScriptEngine::ValueOwnership ownership = QScriptEngine::QtOwnership)
        : DzTCustomClassFactory<T>(classID, ownership) {}

    QObject* createInstance() const override {
        try {
            return new T;
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }
    // The arguments are ignored: T is built with its default constructor.
    QObject* createInstance(const QVariantList&) const override { return createInstance(); }
    using DzTCustomClassFactory<T>::createInstance;
};
