// DzBase: the root of every host object; a QObject with a name.
#pragma once

#include "dzerrorcodes.h"

#include <QtCore/QObject>
#include <QtCore/QString>

class DZ_EXPORT DzBase : public QObject {
    Q_OBJECT
public:
    explicit DzBase(QObject* parent = nullptr, const QString& name = QString());
    ~DzBase() override;

    QString getName() const { return objectName(); }
    virtual void setName(const QString& name);

public slots:
    // The class's meta-object name, e.g. "DzFacetMesh".
    virtual QString className() const;
    // True when this object's class is or derives from the named class.
    virtual bool inherits(const QString& className) const;

signals:
    void nameChanged(const QString& name);
};
