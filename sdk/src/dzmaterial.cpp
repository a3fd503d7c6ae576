#include "dzmaterial.h"

#include "dzenumproperty.h"
#include "dzgeometry.h"
#include "dzshape.h"
#include "dzvertexmap.h"

#include <QtGui/QColor>

#include <algorithm>

// The "UV Set" control: its items are computed from the geometry of the first
// shape holding the material that has geometry.
class DzMaterial::UVSetControl : public DzEnumProperty {
public:
    explicit UVSetControl(const DzMaterial* owner)
        : DzEnumProperty(QStringLiteral("UV Set"), false, false), m_material(owner) {}

    int getNumItems() const override {
        const DzGeometry* geom = geometry();
        const int n = geom ? geom->getNumUVSets() : 0;
        return n > 0 ? n : 1;
    }

    QString getItem(int index) const override {
        const DzGeometry* geom = geometry();
        if (!geom || geom->getNumUVSets() < 1) {
            return index == 0 ? QStringLiteral("Default") : QString();
        }
        const DzUVSet* set = geom->getUVSet(index);
        if (!set) {
            return QString();
        }
        const QString label = set->getLabel();
        return label.isEmpty() ? QStringLiteral("UV Set %1").arg(index) : label;
    }

    int addItem(const QString&, int) override { return -1; }

private:
    const DzGeometry* geometry() const {
        for (const DzShape* shape : m_material->m_shapes) {
            if (const DzGeometry* geom = shape->getGeometry()) {
                return geom;
            }
        }
        return nullptr;
    }

    const DzMaterial* m_material;
};

DzMaterial::DzMaterial() : m_uvSet(new UVSetControl(this)) {
    m_uvSet->setPath(QStringLiteral("Surface"));
    addProperty(m_uvSet);
}

DzMaterial::~DzMaterial() = default;

void DzMaterial::detachShape(DzShape* shape) {
    auto it = std::find(m_shapes.begin(), m_shapes.end(), shape);
    if (it != m_shapes.end()) {
        m_shapes.erase(it);
    }
}

// The meta-object code is compiled here, where the Qt value types the slots
// pass are complete (the header only declares them, as the host's does).
#include "moc_dzmaterial.cpp"
