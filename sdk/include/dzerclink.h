// DzERCLink: a link by which one numeric property (the source, e.g. a pose
// dial) drives another (the property the link is inserted into, e.g. a
// finger bone's rotation): the driven property reads as its own value plus
// scalar times the source's value at that time, plus the addend.
// The stand-in models only this adding kind of link (the real host's
// ERCDeltaAdd, the usual one); the other kinds and keyed links are not
// modelled, so there is no type to choose. That the addend is added as a
// constant is the stand-in's plain choice: the real host's use of it is not
// documented. A source that has been deleted adds nothing.
#pragma once

#include "dznumericcontroller.h"

#include <QtCore/QPointer>

class DzNumericProperty;

class DZ_EXPORT DzERCLink : public DzNumericController {
    Q_OBJECT
public:
    explicit DzERCLink(DzNumericProperty* property, double scalar = 1.0, double addend = 0.0);
    ~DzERCLink() override;

    QString description() const override;
    double apply(double val, DzTime tm, bool local) const override;
    double applyInverse(double val, DzTime tm, bool local) const override;

    void setScalar(double val) { m_scalar = val; }
    void setAddend(double val) { m_addend = val; }
    double getScalar() const { return m_scalar; }
    double getAddend() const { return m_addend; }

public slots:
    // The source property, NULL once it is deleted. (The source is fixed
    // when the link is made, so that a circle is caught when it is inserted.)
    DzNumericProperty* getProperty() const { return m_property.data(); }

private:
    double share(DzTime tm) const;

    QPointer<DzNumericProperty> m_property;
    double m_scalar;
    double m_addend;
};
