#pragma once
// The built-in detectors against the K3 regexes on the same texts: the customer lists, order
// lists with random 12- and 13-digit order numbers and Japanese prose, without and with a line of
// labelled numbers near the end; and how often the national-number detectors would report a
// random order number.

namespace veltrano::bench {

int RunDetectorBench();

}  // namespace veltrano::bench
