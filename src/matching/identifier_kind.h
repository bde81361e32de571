#pragma once
// The kinds of identifier the built-in detectors know.
#include <iterator>

namespace veltrano {

enum class IdentifierKind { PaymentCard, MyNumber, CorporateNumber };

// In the order the detectors are asked.
inline constexpr IdentifierKind kIdentifierKinds[] = {IdentifierKind::PaymentCard, IdentifierKind::MyNumber,
                                                      IdentifierKind::CorporateNumber};

}  // namespace veltrano
