#pragma once
// The maker's addresses and the author's name, in one place.

#include <QString>

namespace qv::maker {

inline const QString kAuthor = QStringLiteral("Dr. Henrique Valadares Moura");
inline const QString kContactAddress = QStringLiteral("contato@quorvel.com.br");
inline const QString kCopyAddress = QStringLiteral("suporte@quorvel.com.br");
inline const QString kContactSubject = QStringLiteral("Contato - Software Quorvel");
inline const QString kSite = QStringLiteral("https://www.quorvel.com.br/");
inline const QString kVersion = QStringLiteral("1.5.0");

}  // namespace qv::maker
