#pragma once
// The organisation's lists on top of a user's: 10,000 wildcards and 1,000 regexes searched
// before the K2 lists, against the K2 lists alone, on the table's 1 MiB and 16 MiB texts.
namespace veltrano::bench {

int RunOrganizationBench();

}  // namespace veltrano::bench
