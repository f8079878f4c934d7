#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Our skin engine. A skin file starts with the line "QUILLMARK-SKIN 1"; the
// rest is a Qt style sheet that ApplyWindow puts on a window once both
// switches are on.
class SkinFramework : public QObject
{
    Q_OBJECT
public:
    explicit SkinFramework(QObject* parent = nullptr);

    static QString Signature() { return QStringLiteral("QUILLMARK-SKIN 1"); }

    // Loads a skin file; ini names a variant and is unused. Throws
    // RuntimeError when the file cannot be read or is not a skin.
    void LoadSkin(const QString& path, const QString& ini);

    int Options() const { return m_options; }
    void SetOptions(int options) { m_options = options; }
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on) { m_enabled = on; }
    void SetApplyToDialogs(bool on) { m_applyToDialogs = on; }

    // Applies the loaded skin to window.
    void ApplyWindow(QWidget* window);

private:
    QString m_styleSheet;
    bool m_loaded = false;
    int m_options = 0;
    bool m_enabled = false;
    bool m_applyToDialogs = false;
};
