// DzImageProperty: a property whose value is a texture (not numeric). The texture
// is not owned; a deleted texture reads back as NULL.
#pragma once

#include "dzproperty.h"

#include <QtCore/QPointer>

class DzTexture;

class DZ_EXPORT DzImageProperty : public DzProperty {
    Q_OBJECT
public:
    DzImageProperty(const QString& name, bool canAnimate, bool isUserProperty);
    ~DzImageProperty() override;

public slots:
    bool isNumeric() const override { return false; }
    virtual DzTexture* getValue() const;
    // NULL clears the texture; returns true.
    virtual bool setValue(const DzTexture* img);

private:
    QPointer<DzTexture> m_value;
};
