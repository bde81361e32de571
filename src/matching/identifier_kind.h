#pragma once
// The kinds of identifier the built-in detectors know.
#include <iterator>

namespace veltrano {

enum class IdentifierKind {
    PaymentCard,
    MyNumber,
    CorporateNumber,
    PassportNumber,
    DriverLicenseNumber,
    ResidenceCardNumber,
    BasicPensionNumber,
    BankAccountNumber,
};

// In the order the detectors are asked.
inline constexpr IdentifierKind kIdentifierKinds[] = {
    IdentifierKind::PaymentCard,         IdentifierKind::MyNumber,           IdentifierKind::CorporateNumber,
    IdentifierKind::PassportNumber,      IdentifierKind::DriverLicenseNumber, IdentifierKind::ResidenceCardNumber,
    IdentifierKind::BasicPensionNumber,  IdentifierKind::BankAccountNumber,
};

}  // namespace veltrano
