#include <QByteArray>
#include <QMessageBox>

#include "app/widget.h"
#include "config/password_entry.h"
#include "crypto/hmac_md5.h"
#include "ui_widget.h"

// Signs the enveloped text with HMAC-MD5 keyed by the configuration password
// (its Latin-1 bytes). The message is the text's UTF-8, the same bytes the
// config code carries, so a reader can verify texts with any character in them.
int Widget::get_hmac(QString istr, char *obuf)
{
    const QByteArray message = istr.toUtf8();
    const QByteArray key = ui->manpw->text().toLatin1();
    if (key.size() != password_entry::kLength) {
        configText.clear();
        QMessageBox::information(this, QStringLiteral("注意"),
                                 QStringLiteral("配置密码的长度需要为16个字符"), QMessageBox::Ok);
        return -1;
    }

    hmac_md5(reinterpret_cast<const unsigned char *>(message.constData()),
             static_cast<size_t>(message.size()),
             reinterpret_cast<const unsigned char *>(key.constData()),
             static_cast<size_t>(key.size()), reinterpret_cast<unsigned char *>(obuf));
    obuf[HMAC_MD5_DIGEST_SIZE] = '\0';
    return 0;
}
