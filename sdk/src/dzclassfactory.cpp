#include "dzclassfactory.h"

#include <QtCore/QMetaEnum>

#include <cstring>

DzClassFactory::DzClassFactory(const QMetaObject* metaObject, const DzGuid& classID)
    : m_metaObject(metaObject), m_classID(classID) {}

DzClassFactory::~DzClassFactory() = default;

QObject* DzClassFactory::createInstance(QScriptContext* context) const {
    QVariantList args;
    if (context != nullptr) {
        const int count = context->argumentCount();
        args.reserve(count);
        for (int i = 0; i < count; ++i) {
            args.append(context->argument(i).toVariant());
        }
    }
    return createInstance(args);
}

void DzClassFactory::registerClass(QScriptEngine*) const {}

const char* DzClassFactory::className() const {
    return m_metaObject != nullptr ? m_metaObject->className() : "";
}

bool DzClassFactory::provides(const char* name) const {
    if (name == nullptr) {
        return false;
    }
    for (const QMetaObject* m = m_metaObject; m != nullptr; m = m->superClass()) {
        if (std::strcmp(m->className(), name) == 0) {
            return true;
        }
    }
    return false;
}

void DzClassFactory::registerEnumsOnClass(const QMetaObject* metaObject, QScriptValue& object) {
    if (metaObject == nullptr || !object.isObject()) {
        return;
    }
    const QScriptValue::PropertyFlags flags = QScriptValue::ReadOnly | QScriptValue::Undeletable;
    for (int e = 0; e < metaObject->enumeratorCount(); ++e) {
        const QMetaEnum metaEnum = metaObject->enumerator(e);
        for (int k = 0; k < metaEnum.keyCount(); ++k) {
            object.setProperty(QString::fromLatin1(metaEnum.key(k)), metaEnum.value(k), flags);
        }
    }
}
