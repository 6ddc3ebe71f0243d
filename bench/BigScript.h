#pragma once

namespace cw::bench {

// The benchmark "bigscript", which runs its measuring child and prints its figures.
void bigScript(int runs);
// The child: opens and edits a 16 MB script and prints raw figures.
int bigScriptChild();

} // namespace cw::bench
