#include "SimPlatform.h"

namespace lumivoke::sim {

SimPlatform::SimPlatform()
    : platform_{.loop = loop,
                .logSink = logSink,
                .inputSources = inputSources,
                .keyboard = keyboard,
                .events = keyboard,
                .screens = screens,
                .panels = panels,
                .defaults = defaults,
                .mainBundle = bundle} {}

void SimPlatform::advance(Duration d) {
    loop.runUntilIdle();
    loop.advance(d);
    loop.runUntilIdle();
}

}  // namespace lumivoke::sim
