#pragma once
// A failed read or write of a data or patient file. Handlers let it reach their top,
// where the error box shows its message; steps already done stay done.

#include <QString>
#include <stdexcept>

namespace qv {

class IoError : public std::runtime_error {
public:
    explicit IoError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

    static IoError cannotOpen(const QString& path)
    {
        return IoError(QStringLiteral("Erro de entrada/saída: não foi possível abrir o arquivo \"%1\".").arg(path));
    }
    static IoError tooShort(const QString& path)
    {
        return IoError(QStringLiteral("Erro de entrada/saída: o arquivo \"%1\" está incompleto (leitura além do fim do arquivo).").arg(path));
    }
    static IoError cannotWrite(const QString& path)
    {
        return IoError(QStringLiteral("Erro de entrada/saída: não foi possível gravar o arquivo \"%1\".").arg(path));
    }

private:
    QString m_message;
};

// The lock beside a file is held by another process (most likely another computer's save).
class FileBusyError : public IoError {
public:
    explicit FileBusyError(const QString& path)
        : IoError(QStringLiteral("O arquivo \"%1\" está sendo salvo em outro computador. Nada foi gravado: "
                                 "aguarde um instante e salve novamente.")
                      .arg(path))
    {
    }
};

// Another program keeps the file open and will not let it be replaced (Windows: a document open
// in an editor, a backup agent): the old file stays as it was.
class FileInUseError : public IoError {
public:
    explicit FileInUseError(const QString& path)
        : IoError(QStringLiteral("O arquivo \"%1\" está aberto em outro programa. Nada foi gravado: feche-o "
                                 "nesse programa e salve novamente.")
                      .arg(path))
    {
    }
};

// A new file was to be created where one exists.
class FileExistsError : public IoError {
public:
    explicit FileExistsError(const QString& path)
        : IoError(QStringLiteral("Erro de entrada/saída: o arquivo \"%1\" já existe.").arg(path))
    {
    }
};

}  // namespace qv
