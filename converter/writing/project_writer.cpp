#include "driver/conversion_job.h"
#include "driver/output.h"

// Placeholder until the writers land: the conversion reads everything and
// reports that nothing was written yet.
bool ConversionJob::writeAnalyserProject() {
  printLine("Writing the analyser project is not implemented yet");
  return false;
}
