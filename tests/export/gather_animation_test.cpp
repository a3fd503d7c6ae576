// Animation gathering: frames sampled from the play range, key times, the
// frame rate, tracks per node, and the scene's time given back.
#include "gather_test_scene.h"

namespace gathertest {
namespace {

using AnimationTest = GatherTest;

TEST_F(AnimationTest, PlayRangeFramesAreSampledAtFrameTimesOfTheTimeStep) {
    struct Case {
        DzTime step;
        int firstFrame, lastFrame; // of the play range
        std::vector<int> sampled;
        float fps;
        float firstTime; // seconds
    };
    std::vector<int> zeroTo29(30);
    for (int f = 0; f < 30; ++f) {
        zeroTo29[std::size_t(f)] = f;
    }
    const Case cases[] = {
        {160, 0, 30, zeroTo29, 30.0f, 0.0f},
        {160, 45, 45, {45}, 30.0f, 1.5f},
        {320, 2, 5, {2, 3, 4}, 15.0f, 2.0f / 15.0f},
        {4800, -2, 1, {-2, -1, 0}, 1.0f, -2.0f},
        {9600, 1, 1, {1}, 0.5f, 2.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "step " << c.step << ", frames " << c.firstFrame << " to " << c.lastFrame);
        startOver();
        // The ball moves 1 along X per frame; the arm sits 1 along X from it.
        DzNode* ball = addNode("Ball");
        ball->getXPosControl()->setValue(0, 0.0f);
        ball->getXPosControl()->setValue(100 * c.step, 100.0f);
        ball->getXPosControl()->setValue(-100 * c.step, -100.0f);
        DzNode* arm = addNode("Arm", ball);
        arm->getXPosControl()->setValue(1.0f);
        dzScene->setTimeStep(c.step);
        dzScene->setPlayRange(DzTimeRange(c.firstFrame * c.step, c.lastFrame * c.step));
        dzScene->setTime(7 * c.step + 1);
        options().export_animation = 1;
        const yfx::SceneDoc& doc = gather();
        EXPECT_EQ(dzScene->getTime(), 7 * c.step + 1);

        ASSERT_EQ(doc.animations.size(), 1u);
        const yfx::DocAnimation& animation = doc.animations[0];
        EXPECT_FLOAT_EQ(animation.frames_per_second, c.fps);
        EXPECT_FLOAT_EQ(animation.tracks.at(0).position_keys.at(0).time, c.firstTime);
        ASSERT_EQ(animation.tracks.size(), 2u);
        EXPECT_EQ(animation.tracks[0].parent, -1);
        EXPECT_EQ(animation.tracks[1].parent, 0);
        for (std::size_t t = 0; t < 2; ++t) {
            const yfx::DocTrack& track = animation.tracks[t];
            ASSERT_EQ(track.position_keys.size(), c.sampled.size());
            ASSERT_EQ(track.rotation_keys.size(), c.sampled.size());
            ASSERT_EQ(track.scale_keys.size(), c.sampled.size());
            for (std::size_t k = 0; k < c.sampled.size(); ++k) {
                const float time = float(c.sampled[k]) * (1.0f / c.fps);
                EXPECT_FLOAT_EQ(track.position_keys[k].time, time);
                EXPECT_FLOAT_EQ(track.rotation_keys[k].time, time);
                // The ball's own place, the arm's relative to the ball.
                const float x = t == 0 ? float(c.sampled[k]) : 1.0f;
                EXPECT_NEAR(track.position_keys[k].value[0], x, 1e-4f) << "key " << k;
            }
        }
    }
}

} // namespace
} // namespace gathertest
