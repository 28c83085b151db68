// The backups of the player's files that commands replaced or deleted.
#include "app/BackupsDialog.h"
#include "app/MainDialog.h"
#include "packages/Games.h"
#include "widgets/Seams.h"

namespace wendmoor {

void MainDialog::OnBackups() {
    const GameDescription* game = FindGame(session_.CurrentGame());
    if (game == nullptr) {
        services_.messages.ShowInformation(
            this, QStringLiteral("Wendmoor"),
            QStringLiteral("Choose a game first: the backups are listed game by game."));
        return;
    }
    BackupsDialog dialog(
        QString::fromUtf8(game->name),
        [this] {
            return ListBackups(session_.BackupStoreFolder(), BackupGameKey(session_.CurrentGame()));
        },
        [this](const std::string& name, bool force) {
            waitNoticeShown_ = false;
            RestoreResult result = session_.RestoreBackup(name, force);
            MirrorSession();
            return result;
        },
        services_, this);
    services_.dialogs.Run(dialog);
}

}  // namespace wendmoor
