// The updater's fixed values and the texts it shows and logs, word for word.
#pragma once

namespace refresh {

// The reader and what the updater asks of it.
constexpr const char* ReaderWindowTitle = "The Marovan & World Encyclopedia";
constexpr const char* ReaderProgram = "VELDRX32.EXE";
constexpr const char* LogFileName = "Xferlog.txt";
constexpr const char* MostRecentUpdateValue = "MostRecentUpdate";
// The close request to the reader is WM_UPDATECLOSE (window_messages.h).

// The update server.
constexpr const char* UpdateServerHost = "ftp.brenmoortesk.com";
constexpr int ControlPort = 21;
constexpr const char* ServerUser = "encyuser";
constexpr const char* ServerPassword = "b591Kwos";
constexpr const char* ServerDirectory = "/quorvex/transfer";
constexpr const char* ImageArchive = "UPDTBITM.EXE";
constexpr const char* UpdatesArchive = "UPDATES.EXE";

// Files in the temporary directory.
constexpr const char* UpdatePicture = "update.bmp";
constexpr const char* UpdateListing = "verify.txt";
constexpr const char* ExtractorOutput = "sfxout.txt";

// Fatal errors.
constexpr const char* AlreadyRunningMessage =
    "The Internet updater is already running. Please wait until it has finished.";
constexpr const char* NoReaderMessage = "To get Internet updates, please run The Marovan & World Encyclopedia.";
constexpr const char* NoWinsockMessage =
    "Could not initialize your computer's WINSOCK. Please contact your Internet Service Provider for assistance.";
constexpr const char* CannotConnectMessage =
    "Could not connect to host. Please make sure you are connected to the Internet and try again later.";
constexpr const char* CommunicationsMessage = "Communications problems. Please try again later.";
constexpr const char* InvalidListingMessage =
    "The update file appears to be invalid or corrupt. Please try downloading again, or if the problem persists, "
    "contact technical support for assistance.";
constexpr const char* CorruptFilesMessage =
    "The update files appear to be corrupt. Try downloading them again, or if problems persist, contact technical "
    "support.";
constexpr const char* SaveFailedMessage =
    "Could not save a file to your computer. Please make sure there is enough space available on your hard drive "
    "and you have sufficient security priviledges to create files. Please try again later.";
constexpr const char* NotFoundMessage = "The update file was not found on the server. Please call technical support.";
constexpr const char* NetworkErrorFormat = "A Network error has occured, Shutting Down...%s: %d";
constexpr const char* WriteFailedMessage =
    "The Internet updater cannot write the update file to the disk. The disk may be full, or some other disk error "
    "may have occured.";
constexpr const char* ConnectionLostMessage =
    "The connection to the internet has been lost. Please reconnect to the internet and try again.";
constexpr const char* ConnectTimeoutMessage =
    "The connection attempt has timed out. Please make sure you are connected to the Internet and try again later.";
constexpr const char* TransferTimeoutMessage = "The transfer has timed out. Please try again later.";
constexpr const char* CommandTimeoutMessage = "There has been communication time out. Please try again later.";
constexpr const char* CorruptPictureMessage = "Update file appears to be corrupt. Please contact technical support.";
constexpr const char* ExtractMemoryMessage =
    "Could not extract the update files because of insufficient memory. Close some applications and try again.";
constexpr const char* ExtractFailedMessage =
    "Could not start the extractor. Please try again later or contact technical support.";
constexpr const char* RestartFailedMessage = "Could not restart the Encyclopedia. Please run it again.";
constexpr const char* CopyFailedMessage =
    "There were problems copying the downloaded updatates into your Encyclopedia directory. Please try again or "
    "contact technical support.";
constexpr const char* LocalAddressMessage = "Error: could not resolve address of local host";

// The question when the update is already installed.
constexpr const char* ReinstallQuestion =
    "You have already installed this update to your Encyclopedia. We usually make new updates available every "
    "month. Would you like to re-install this update anyway?";
constexpr const char* ReinstallCaption = "Update Already Installed";

}  // namespace refresh
