#include "dzbase.h"

DzBase::DzBase(QObject* parent, const QString& name) : QObject(parent) {
    setObjectName(name);
}

DzBase::~DzBase() = default;

void DzBase::setName(const QString& name) {
    if (name == objectName()) {
        return;
    }
    setObjectName(name);
    emit nameChanged(name);
}

QString DzBase::className() const {
    return QString::fromLatin1(metaObject()->className());
}

bool DzBase::inherits(const QString& className) const {
    return QObject::inherits(className.toLatin1().constData());
}
