// DzScene: the host's scene: the list of nodes and the time line.
//
// Nodes. The scene owns every node added to it and deletes them when it is
// destroyed. Adding a node also adds its descendants, and a node made a child of
// a scene node joins the scene, so every node of a tree is in the list: bones
// count as nodes (getNumNodes includes them). Nodes keep the order in which they
// joined; getNode(i) and findNodeIndex are constant time, findNode by name too.
// A scene node deleted by someone else leaves the list.
//
// Choice of the stand-in where the host's behaviour is not known: adding a node
// that is already in the scene (added before, or joined through an ancestor)
// changes nothing and answers true, as the node is in the scene as asked. A
// builder that adds a figure and then each of its bones in turn (each bone made
// a child first, so already in the scene) relies on that answer being true.
//
// Time. Host time is in ticks of 1/4800 s. The time step (ticks per frame,
// default 160 = 30 frames per second) must be positive: other values are ignored.
// getFrame() is the current time divided by the time step (rounded down).
// Play and animation ranges default to frames 0 to 30.
//
// The stand-in evaluates transforms and geometry on demand, so invalidate()
// has nothing to mark and update() only lets every node refresh (DzNode::update).
//
// The scene is created by the host harness with DzScene::create() and destroyed
// with DzScene::destroy(); both exist in the stand-in only.
//
// What still differs from the host: the scene is not a scene asset, and
// selection, the skeleton, light and camera lists, loading and saving, playback,
// world-space modifiers and the signals are left out. As in the host, the
// constructor and destructor are private.
#pragma once

#include "dzbase.h"
#include "dztimerange.h"
#include "dztypes.h"

#include <QtCore/QHash>

#include <vector>

class DzNode;
class DzScene;

extern DZ_EXPORT DzScene* dzScene;

class DZ_EXPORT DzScene : public DzBase {
    Q_OBJECT
public:
    enum DzOpenMethod { DefaultMethod = 0, OpenNew, MergeFile };

    // Stand-in only: makes the scene and sets dzScene (returns the existing one if
    // there is one).
    static DzScene* create();
    // Stand-in only: deletes the scene with its nodes and sets dzScene to NULL.
    static void destroy();

    DzNodeListIterator nodeListIterator() const;

public slots:
    int getNumNodes() const { return int(m_nodes.size()); }
    // NULL for an index out of range.
    DzNode* getNode(int index) const;
    // -1 when the node is not in the scene.
    int findNodeIndex(const DzNode* node) const;
    // The earliest-added node with this name (case-sensitive), or NULL.
    DzNode* findNode(const QString& name) const;
    // The earliest-added node with this label, or NULL.
    DzNode* findNodeByLabel(const QString& label) const;
    // Adds the node and its descendants and takes ownership; false for NULL (and
    // while the scene is being destroyed), true for a node already in the scene.
    bool addNode(DzNode* node);

    DzTime getTime() const { return m_time; }
    void setTime(DzTime time) { m_time = time; }
    int getFrame() const;
    void setFrame(int frame);
    DzTime getTimeStep() const { return m_timeStep; }
    void setTimeStep(DzTime step);
    DzTimeRange getPlayRange() const { return m_playRange; }
    void setPlayRange(DzTimeRange range) { m_playRange = range; }
    DzTimeRange getAnimRange() const { return m_animRange; }
    void setAnimRange(DzTimeRange range) { m_animRange = range; }

    void invalidate() {}
    void update();

private:
    DzScene();
    ~DzScene() override;
    void addOne(DzNode* node);
    void forget(QObject* node);
    void reindexName(DzNode* node);

    std::vector<DzNode*> m_nodes;
    QHash<const DzNode*, int> m_index;
    QHash<const DzNode*, QString> m_indexedName;
    QMultiHash<QString, DzNode*> m_byName;
    DzTime m_time = 0;
    DzTime m_timeStep = 160;
    DzTimeRange m_playRange;
    DzTimeRange m_animRange;
    bool m_destroying = false;
};
