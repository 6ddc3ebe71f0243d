#pragma once

namespace cw::bench {

// The benchmark "toolscale": `cuewright timeline` (text and JSON) and `cuewright check`
// on 16 MB scripts, the largest the tools read, with each run's time and peak memory.
void toolScale(int runs);
// The child that runs one tool and measures it from a small process of its own:
// --child-peak OUTPUT PROGRAM ARGUMENTS...
int toolScaleChild(int argc, char **argv);

} // namespace cw::bench
