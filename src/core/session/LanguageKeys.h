#pragma once

#include <array>
#include <cstddef>

namespace zelvarion {

// Names of the interface texts of a language pack; the value is the key in the "[Interface]"
// section. Keys no window asks for have no name.
enum class InterfaceText : int {
    FileMenu = 1,
    ExitMenuItem = 2,
    LanguageMenu = 3,
    SqlQueryMenuItem = 4, // also labels the statement box of the SQL console
    HelpMenu = 5,
    AboutMenuItem = 6,
    DatabaseButton = 7, // also labels the current catalogue path in the database dialog
    ImageCountLabel = 8,
    FoundCountLabel = 9,
    ConfigurationMenu = 10,
    SearchButton = 11,
    SelectDatabaseButton = 12, // also titles the file dialog it opens
    NewDatabaseButton = 13, // also titles the file dialog it opens
    AddFolderButton = 14, // also titles the folder browser it opens
    RemoveFolderButton = 15,
    ScanButton = 16,
    CancelButton = 17,
    FolderPathHeader = 18,
    FolderStatusHeader = 19,
    FolderFilesHeader = 20,
    FolderLastScanHeader = 21,
    DatabaseHelpLine1 = 22,
    DatabaseHelpLine2 = 23,
    DatabaseHelpLine3 = 24,
    PreviousImageButton = 25, // the edit dialog moves to the image before in the result
    CopyMenuItem = 26, // copies the detail panel's selected text
    ExecuteButton = 27,
    SearchAllIptcOption = 28,
    SearchFolderNamesOption = 29,
    SearchFileNamesOption = 30,
    FieldLabelObjectName = 31, // field labels run on in field order to FieldLabelCustomized
    FieldLabelEditStatus = 32,
    FieldLabelUrgency = 33,
    FieldLabelCategory = 34,
    FieldLabelSupplementalCategory = 35,
    FieldLabelFixtureIdentifier = 36,
    FieldLabelKeywords = 37,
    FieldLabelReleaseDate = 38,
    FieldLabelReleaseTime = 39,
    FieldLabelSpecialInstructions = 40,
    FieldLabelReferenceService = 41,
    FieldLabelReferenceDate = 42,
    FieldLabelReferenceNumber = 43,
    FieldLabelCreatedDate = 44,
    FieldLabelCreatedTime = 45,
    FieldLabelOriginatingProgram = 46,
    FieldLabelProgramVersion = 47,
    FieldLabelObjectCycle = 48,
    FieldLabelByline = 49,
    FieldLabelBylineTitle = 50,
    FieldLabelCity = 51,
    FieldLabelProvinceState = 52,
    FieldLabelCountryCode = 53,
    FieldLabelCountry = 54,
    FieldLabelOriginalTransmissionReference = 55,
    FieldLabelHeadline = 56,
    FieldLabelCredit = 57,
    FieldLabelContact = 58,
    FieldLabelSource = 59,
    FieldLabelCopyright = 60,
    FieldLabelCaption = 61,
    FieldLabelLocalCaption = 62,
    FieldLabelCaptionWriter = 63,
    FieldLabelImageType = 64,
    FieldLabelCustomized = 65, // the field holding every other dataset ("Others")
    SearchFieldsFrame = 66,
    SearchOptionsMenuItem = 67, // also titles the search options window
    DetailPathLabel = 68,
    MainHelpLine1 = 69,
    MainHelpLine2 = 70,
    MainHelpLine4Start = 71, // followed by a space and MainHelpLine4End
    EraseHistoryQuestion = 72, // also the erase button's tool tip
    StayOnTopMenuItem = 73,
    NextImageButton = 74,
    CreateThumbnailsOption = 75,
    UseThumbnailsMenuItem = 76,
    ThumbnailsExplanation = 77,
    ExistingThumbnailsFrame = 78,
    RecreateThumbnailsOption = 79,
    KeepThumbnailsOption = 80,
    WholeWordOption = 81,
    CompactDatabaseButton = 82,
    MainHelpLine3 = 83,
    DetailLastRevisionLabel = 84,
    NeverRevisedOption = 85,
    AlreadyRevisedOption = 86,
    ChronologicalOrderOption = 87,
    ReverseChronologicalOrderOption = 88,
    WithoutIptcOption = 89,
    WithIptcOption = 90,
    DescriptionTab = 91,
    CategoriesTab = 92,
    DatesPlacesTab = 93,
    OtherFieldsTab = 94,
    KeywordLabel = 95,
    AddButton = 96,
    ReplaceButton = 97,
    RemoveButton = 98,
    NoUrgency = 99,
    Urgency1Note = 100, // shown as "1 [" + text + "]"
    Urgency5Note = 101,
    Urgency9Note = 102,
    NoObjectCycle = 103,
    ObjectCycleMorning = 104,
    ObjectCycleEvening = 105,
    ObjectCycleBoth = 106,
    DetailCreatedLabel = 107,
    DetailModifiedLabel = 108,
    DetailSizeLabel = 109,
    UnitBytes = 110,
    UnitKilobytes = 111,
    UnitMegabytes = 112,
    UnitGigabytes = 113,
    NowButton = 114,
    IptcNotReadWarning = 115, // the file kind is not one whose IPTC is read
    IptcFromXmpNote = 116,    // the detail panel: the values come from the XMP, the file has no IIM
    ReadOnlyImageNote = 117, // the edit dialog shows a TIFF or PSD file without saving it
    EditOptionsMenuItem = 118, // also titles the edit options dialog
    ReadFromFilesOption = 119,
    ReadFromFilesNote = 120,
    ReadFromDatabaseOption = 121,
    ReadFromDatabaseNote = 122,
    KeepCreationDateOption = 123,
    SaveOriginalsOption = 124, // also titles the backup folder dialog
    BrowseButton = 125,
    UnknownFolderWarning = 126,
    IptcFromTiffTagNote = 127, // the detail panel: the IIM lies in TIFF tag 33723
    IptcFromExifTagNote = 128, // the detail panel: the IIM lies in the Exif data
    IptcFromTrailerNote = 129, // the detail panel: the IIM lies after the image data
    CustomizedTab = 130,
    SpellCheckTip = 131, // followed by " (" + field label + ")"
    SpellCheckAllLabel = 132,
    CustomizedFieldLabel = 133, // "Field": also written into the stored Customized text
    EditCustomizedOption = 134,
    ControlLengthsOption = 135,
    CustomizedNameLabel = 136,
    EditCustomizedNamesButton = 137, // also titles the customized field names dialog
    FieldSearchOption = 138,
    SortedByLabel = 139,
    SortNone = 140,
    SortFileSize = 141,
    SortWidth = 142, // also the detail panel's width label
    SortHeight = 143, // also the detail panel's height label
    SortFileName = 144,
    SortFolder = 145,
    CustomizedNamesHint = 146,
    NotMarkedLegend = 147,
    MarkedLegend = 148,
    DisplayMarkedMenuItem = 149, // also the Selections window's current-selection button
    StatisticsMenuItem = 150, // also titles the statistics window
    WordHeader = 151,
    OccurrencesHeader = 152,
    ToolsMenu = 153,
    AnalyseButton = 154,
    AnalysingStatus = 155,
    AnalysisSummary = 156, // "#" words found in "%" images
    RemoveAllMarksMenuItem = 157, // also the question asked before every mark is cleared
    EmptyWordsMenuItem = 158, // also titles the empty words dialog
    EmptyWordLabel = 159,
    IgnoreEmptyWordsOption = 160,
    HighlightUnknownButton = 161,
    CopyImagesMenuItem = 162, // also titles the destination folder dialog
    DestinationFolderLabel = 163,
    CopyOkButton = 164, // the destination folder dialog's OK
    UnknownOnlyOption = 165,
    EditIptcMenuItem = 166,
    OpenImageMenuItem = 167, // "%" stands for the file name
    DefineTemplatesMenuItem = 168, // also the buttons that open the template dialog and its title
    TemplateNameLabel = 169,
    TemplateIptcCountHeader = 170,
    TemplateCustomizedCountHeader = 171,
    TemplateSavedHeader = 172,
    EditTemplateButton = 173, // also follows a template's name while it is edited
    RemoveTemplateQuestion = 174,
    TemplatesMenu = 175,
    SelectionMenu = 176,
    NoTemplateInUse = 177,
    TemplateInUse = 178,
    PermissionsLabel = 179, // the file properties dialog of our own
    UndoTemplateRunMenuItem = 180, // also titles the undo's question and report
    NoTemplateRunToUndo = 181,
    ApplyTemplateMenuItem = 182, // also titles the apply-template dialog
    MergeKeepOriginalOption = 183,
    MergeOverwriteNonEmptyOption = 184,
    MergeOverwriteAllOption = 185,
    ImagesProcessedStatus = 186, // "#" stands for the count
    ConfirmMergeKeepOriginal = 187,
    ConfirmMergeOverwriteNonEmpty = 188,
    ConfirmMergeOverwriteAll = 189,
    StopButton = 190,
    CloseButton = 191,
    NotJpegWarning = 192, // JPEG, TIFF or Photoshop name, but not JPEG bytes
    NotProcessedLabel = 193,
    CurrentImageLabel = 194,
    ClickRowHint = 195,
    MissingPathColumnsWarning = 196,
    DeleteMenuItem = 197, // also removes a saved selection
    RenameMenuItem = 198, // also renames a saved selection
    PropertiesMenuItem = 199,
    ExportXmlMenuItem = 200, // also titles the export dialog and captions its export button
    NoXslChoice = 201,
    MarkResultMenuItem = 202,
    UnmarkResultMenuItem = 203,
    EmptyResultWarning = 204,
    XmlTitleLabel = 205,
    DisplayXmlButton = 206,
    XslListLabel = 207,
    AnalyseKeywordsOption = 208,
    AnalyseAllFieldsOption = 209,
    KeepBackupOption = 210,
    OverwriteBackupOption = 211,
    NotInDictionaryLabel = 212, // the correction dialog of the spell check (also 222 and 242)
    ChangeToLabel = 213,
    SuggestionsLabel = 214,
    ChangeButton = 215,
    ChangeAllButton = 216,
    IgnoreButton = 217,
    StartupNotice = 218,
    DefineDatabaseMenuItem = 219, // also titles the database dialog
    ExportThumbnailsOption = 220,
    NoExportThumbnailsOption = 221,
    IgnoreAllButton = 222,
    MainHelpLine4End = 223,
    CheckMarkFrame = 224,
    SearchDoublesMenuItem = 225,
    TranslationOption = 226,
    SaveSelectionLabel = 227,
    TranslationFrame = 228,
    EditTranslationsButton = 229,
    SelectionNameHeader = 230,
    TranslationPairsUnit = 231,
    SelectionsMenuItem = 232, // also titles the Selections window
    SaveButton = 233,
    DisplaySelectionButton = 234,
    SelectionImagesHeader = 235, // also labels the count of marked images
    DisplayImageMenuItem = 236,
    ExactExpressionOption = 237,
    AndOperatorOption = 238,
    OrOperatorOption = 239,
    AddTemplateKeywordsOption = 240,
    RemoveTemplateKeywordsOption = 241,
    AddToDictionaryButton = 242,
    FirstPageTip = 243, // tool tips of the four paging buttons of the result grid
    PreviousPageTip = 244,
    NextPageTip = 245,
    LastPageTip = 246,
    AboutDescription = 247, // the About box: what the program is, then labels of its lines
    AboutEngineLabel = 248,
    AboutLibrariesLabel = 249,
    AboutSystemLabel = 250,
    RowsNotUpdatedStatus = 251, // after the images processed: "#" images written whose rows were not updated
    ImagesUntouchedStatus = 252, // after a stopped run: "#" images left as they were
    RowNotUpdatedReason = 253, // an image written whose catalogue row was not updated; the engine's text follows
    FileDialogLookIn = 254, // the labels of the file dialog that chooses a catalogue
    FileDialogFilesOfType = 255,
    FileDialogOpenButton = 256,
    CatalogueFileFilter = 257, // description of the "*.db" filter
    SearchIndexProgress = 258, // the progress dialog while the catalogue is indexed for searches
    ImagesNotProcessedStatus = 380, // after a template run: "#" images listed as not processed
    NotProcessedImageHeader = 381, // the two columns of the images a template run did not process
    NotProcessedReasonHeader = 382,
    ScanFileProgress = 383, // while a scan runs: "#" the files done, "%" the files to scan
    DoubleFileNamesResult = 384, // in the empty search box: what the result on show is
    MarkedImagesResult = 385,
    ConsoleImageResult = 386,
    // From 400: the code replacements of the edit options.
    CodeFilesLabel = 400,
    CodeFilesChooseButton = 401,
    CodeFilesClearButton = 402,
    CodeDelimiterLabel = 403,
    CodeFilesDialogTitle = 404,
    CodeFileFilter = 405, // description of the "*.txt" filter
    NoCodeFiles = 406,    // in place of the list while none is chosen
    // From 410: the keyword vocabulary.
    EntrySuggestionsTip = 410, // the keyword and supplemental category entry boxes
    // From 420: the pack's language and the forms typed dates and times take.
    PackOwnName = 420,     // the pack's name in its own language, for the Language menu
    PackLocale = 421,      // the locale of dates, times and numbers, and of the toolkit's texts ("fr_FR")
    DateFormLetters = 422, // the letters standing for day, month and year in a shown form ("dmy")
    DateFieldHint = 423,   // tool tip of a date box: "#" the form, "%" an example
    TimeFieldHint = 424,   // tool tip of a time box: "#" the form, "%" an example
    LabelColon = 425,      // a label before its value: "#:" ("# :" in French); a space follows
    // From 440: the windows' later captions.
    TranslationBothWays = 440, // the translation's directions while no file names the two languages
    TranslationFirstToSecond = 441,
    TranslationSecondToFirst = 442,
    // From 460: the main window's later texts.
    OpenedImageResult = 460, // in the empty search box: the image a file manager asked to open
    // From 480: the database dialog's catalogue on a server.
    ServerAddressHint = 480, // in the empty address box: the form of a server's address
    ConnectButton = 481,
};

// Names of the message texts of a language pack; the value is the key in the "[Messages]" section.
enum class Message : int {
    CatalogueNotFound = 1,
    CatalogueNotFoundHint = 2, // follows the missing path
    FolderRefused = 3,
    FolderOverlaps = 4,
    SubfolderRowsNote = 5,
    ReplaceExistingFile = 6,
    NoFolderSelected = 7,
    RemoveFolderQuestion = 8,
    NoSearchPlace = 9,
    NothingToSearch = 10,
    ElapsedTime = 11,
    FolderMissing = 12,
    AlreadyInList = 13,
    NoEntrySelected = 14,
    TextTooLong = 15, // "#" stands for the field label, "%" for the limit
    InvalidDate = 16,
    InvalidTime = 17,
    NothingToCheck = 18,
    SpellerUnavailable = 19,
    SpellCheckFailed = 20,
    InvalidDatasetNumber = 21,
    DatasetNumberUsed = 22,
    DatasetNumberMissing = 23,
    ChooseField = 24,
    ListLimitReached = 25, // "#" stands for the limit
    SaveImageChangesQuestion = 26, // moving to another image with unsaved changes
    SelectOnly = 27,
    NewFileNamePrompt = 28,
    InvalidFileNameCharacter = 29,
    FileNameTaken = 30,
    RenameFailed = 31,
    XmlFileMissing = 32,
    LoadingXsl = 33,
    LoadingXml = 34,
    TransformingXml = 35,
    RenderingDone = 36,
    XmlParserMissing = 37,
    UndoTemplateRunQuestion = 38, // "#" the run's template, "%" its number of files
    DeleteFileQuestion = 39, // followed by a line break and the path
    TrashRefused = 40, // followed by a line break, the path and the reason
    FirstStatementOnly = 41, // followed by a line break and the text that was not run
    CopyImagesSummary = 42, // "#" copied, "%" skipped as images of the result, "$" failed
    SelectionNameUsed = 43,
    SelectionNameRequired = 44,
    NoSelectionChosen = 45,
    RemoveSelectionQuestion = 46,
    RenameSelectionPrompt = 47,
    UndoTemplateRunReport = 48, // "#" restored, "%" skipped; the skipped files follow, one a line
    HelpFileMissing = 49, // the user guide's path follows
    HelpNotOpened = 50, // no program opened the user guide; its path follows
    CatalogueBusyWaiting = 51, // "#" the catalogue: another command changes it, this one waits
    CatalogueBusyRefused = 52, // "#" the catalogue: another command changes it, this one does not start
    CatalogueNotLocked = 53, // "#" the lock file; the system's reason follows
    CatalogueNotWritable = 54, // "#" the catalogue; the engine's text follows
    ValueTooManyBytes = 55, // "#" the field, "$" the bytes the value takes in the file, "%" the limit
    ScanRolledBack = 56, // a statement of the scan failed; the catalogue's path follows
    FileUnreadable = 57, // a line of the scan log; the file's path and the system's reason follow
    UnreadableFilesLeftOut = 58, // at the end of a scan; the number of unreadable files follows
    OutputExtensionRefused = 59, // the stylesheet's extension text follows
    OutputOutsideExportFolder = 60, // the output path follows
    NotACatalogue = 61, // the path follows
    CatalogueKept = 62, // the path of the catalogue in use follows
    NoCatalogueChosen = 63,
    WaitingForFormatter = 64,
    NothingRendered = 65, // the path of the file that is missing follows
    ThumbnailsFolderOutside = 66, // the path of the thumbnails folder follows
    WordRequired = 67, // a blank entry in the empty words dialog
    NoImageFound = 68, // a command on the search result whose search found nothing
    TrashNameTooLong = 69, // "%" the longest name the trash takes, in bytes; the path follows
    // From 100: what failed, for a Failure (core/session/Result.h). The engine's or the system's
    // text follows after a line break.
    CannotOpenCatalogue = 100, // "#" the catalogue path; the engine's text follows, as after every catalogue failure
    CannotGetData = 101,
    CannotSetData = 102,
    CannotUpdateData = 103,
    CannotInsertData = 104,
    CannotAddData = 105,
    CannotRemoveData = 106,
    CannotCountData = 107,
    CannotDeleteData = 108,
    CannotGetFolders = 109,
    CannotCreateTable = 110, // "#" the table
    CannotCreateIndex = 111, // "#" the index
    CannotSetDefaultTempStore = 112,
    CannotSetDefaultCacheSize = 113,
    CannotSetDefaultSynchronous = 114,
    CannotSetTempStore = 115,
    CannotSetCacheSize = 116,
    CannotSetSynchronous = 117,
    CannotBeginTransaction = 118, // "#" the transaction, "%" the catalogue path
    CannotEndTransaction = 119, // "#" the transaction, "%" the catalogue path
    CannotRunVacuum = 120, // "#" the catalogue path
    CannotAddToSelections = 121,
    CannotUpdateFromSelections = 122,
    CannotEmptyTranslations = 123,
    CannotAddToTranslations = 124,
    CannotGetTranslation = 125,
    CannotWriteFile = 126, // "#" the file
    CannotOpenUndoJournal = 127, // "#" the journal's path
    CannotReadUndoJournal = 128, // "#" the journal's path
    CannotUseUndoJournal = 129, // "#" the journal's path
    CannotReadFile = 130, // "#" the file; the system's text follows, as after every file failure
    CannotCreateTemporaryFile = 131, // "#" the file to be replaced
    CannotCopyFile = 132, // "#" the source, "%" the target
    CannotFlushFile = 133, // "#" the temporary file
    CannotKeepPermissionsAndDates = 134, // "#" the source
    CannotKeepPermissions = 135, // "#" the file to be replaced
    CannotCloseFile = 136, // "#" the temporary file
    CannotReplaceFile = 137, // "#" the file to be replaced
    CannotRenameFile = 138, // "#" the file
    ProgramNotStarted = 139, // "#" the program, "%" why it could not be started
    // From 140: why an image was left as it was, in the lists of runs and in refusals.
    ReasonCannotOpen = 140,
    ReasonReadOnly = 141,
    ReasonEmpty = 142,
    ReasonReadIncomplete = 143,
    ReasonNotJpeg = 144,
    ReasonDamagedIptc = 145, // "#" what the reader found
    ReasonOtherIptcResource = 146,
    ReasonXmpUnreadable = 147,
    ReasonXmpRefusesValues = 148,
    ReasonXmpUnwritable = 149,
    ReasonXmpTooLarge = 150, // "#" the limit
    ReasonNotRecorded = 151, // "#" the engine's words
    ReasonFileGone = 152,
    ReasonNotAFile = 153,
    ReasonChangedSinceRun = 154,
    ReasonNewerJournal = 155,
    ReasonJournalMismatch = 156,
    ReasonRowNotUpdated = 157, // "#" the engine's words
    ReasonJournalUnreadable = 158, // "#" the engine's words
    ReasonNoBackup = 159, // "#" why
    ReasonFileMissing = 160,
    // From 161: why a backup or a write was refused, what the IPTC reader found damaged, and the
    // titles of a file or stylesheet that could not be read.
    ReasonNoBackupFolder = 161,
    ReasonBackupFolderMissing = 162, // "#" the folder
    ReasonBackupOverImage = 163,
    ReasonUnreadableForBackup = 164,
    ReasonBackupIndexUnusable = 165, // "#" the index, "%" the system's words
    ReasonBackupIndexUnreadable = 166, // "#" the index
    ReasonBackupIndexUnwritable = 167, // "#" the index
    ReasonIptcNotWritten = 168,
    ReasonValueOverLimit = 169, // "#" the field, "%" the bytes it takes, "$" the bytes its dataset holds
    ReasonValueOverLimitUtf8 = 170, // the same, counted in UTF-8
    CustomizedDatasetName = 171, // "#" the dataset number
    DamageDatasetPastEnd = 172,
    DamageClaimsMoreThanHeld = 173, // "#" the bytes claimed, "%" the bytes held
    DamageHeaderCut = 174,
    ErrorReadingFile = 175, // "#" the file
    StylesheetNotLoaded = 176, // a message box's title
    StylesheetFileLabel = 177, // "#" the stylesheet's name
    XmlNotLoaded = 178, // a message box's title
    XmlFileLabel = 179, // "#" the document's name
    // The command line's own texts; a counted text holds "one|other" forms (PluralOneCounts).
    PluralOneCounts = 200, // the counts that take the first form of a counted text "one|other", spaces between
    CliNothingToSearch = 201,
    CliPresenceTakesNoText = 202,
    CliTranslationShown = 203, // the translation searched too follows
    CliFilesCount = 204, // counted: "#" the number
    CliFoldersCount = 205, // counted, with the punctuation after it
    CliUnreadableCount = 206, // counted, with the punctuation after it
    CliFilesPerSecond = 207, // "#" the files a second
    CliCatalogueCreated = 208, // the path follows
    CliThumbnailStoreUnwritable = 209, // the store's folder follows
    CliScanLeftCatalogue = 210,
    CliWouldWrite = 211, // a dry run's line; the path follows
    CliWritten = 212, // the path follows
    CliNotProcessed = 213, // the path and the reason follow
    CliSkipped = 214, // the path and the reason follow
    CliRowNotUpdated = 215, // the path and the reason follow
    CliLeftAsItWas = 216, // the path follows
    CliImagesWouldBeWritten = 217, // counted: the end of a dry run
    CliImagesProcessed = 218, // counted
    CliNoTerminal = 219,
    CliImagesInQuestion = 220, // counted: after a question
    CliNothingWritten = 221,
    CliImagesMarked = 222, // counted
    CliImagesUnmarked = 223, // counted
    CliNoMarkRemoved = 224,
    CliNoStylesheet = 225, // "#" the stylesheet; the export folder follows
    CliRunUndone = 226, // a run of the undo list that was undone
    CliFilesRestored = 227, // counted
    CliFilesSkipped = 228, // counted
    CliJournalUnusable = 229, // the journal's path and the reason follow
    CliNoSuchRun = 230, // "#" the number given
    CliUndoRunQuestion = 231, // "$" the run, "#" its template, "%" its files
    CliNothingRestored = 232,
    CliNotCatalogued = 233, // the path follows
    CliRenameQuestion = 234, // "#" the path, "%" the new name
    CliNothingRenamed = 235,
    CliCopyQuestion = 236, // counted: "%" the destination
    CliNothingCopied = 237,
    CliNothingRemoved = 238,
    CliNoSelectionNamed = 239, // the name follows
    CliNoTemplateNamed = 240, // the name follows
    CliIndexing = 241, // "#" the images indexed, "%" all of them
    CliIndexFailed = 242, // the engine's text follows
    CliCannotOpen = 243, // the path follows
    CliDamagedIptc = 244, // the path and what is damaged follow
    CliWriteWithoutCatalogue = 245, // the path follows
    CliFileMissing = 246, // why a file was not written
    CliFileNotWritten = 247, // why a file was not written, when nothing else says
    CliRewriteQuestion = 248, // counted
    CliUndoRunNumber = 249, // "#" the run of the undo journal
    CliNotInList = 250, // the word follows
    CliCatalogueMissing = 251, // the path follows
    CliInUse = 252, // after the name of the template in use
    CliNotWritten = 253, // the path and the reason follow
    CliNoRunLeft = 254,
    XmlExportDone = 350, // "#" the images exported; the path of the XML file follows
    // From 400: variables of template texts and code replacements. "#" the variable as written.
    VariableNotClosed = 400,
    VariableUnknown = 401,
    VariableFormatUnknown = 402,
    VariableTakesNoFormat = 403,
    VariableDigits = 404,
    TemplateNotApplied = 405, // "#" the template; the field and its problem follow
    CodeUnknown = 406,        // "#" the code with its delimiters
    CodeFileUnreadable = 407, // "#" the file
    CodeLineMalformed = 408,  // "#" the file, "%" the line
    CodeGivenTwice = 409,     // "#" the code, "%" the file that gave it first, "$" the file and line again
    // From 410: the keyword vocabulary on the command line.
    CliNoEntryBegins = 410,        // "#" the prefix given
    CliVocabularyEmpty = 411,
    CliVocabularyUnreadable = 412, // the engine's text follows
    // From 420: forms expected and the command line's question and refusals.
    ExpectedForm = 420,          // after a refused date or time: "#" the form expected
    CliYesNoChoice = 421,        // after a question, the answers ("[y/N]")
    CliYesAnswers = 422,         // the answers that mean yes, spaces between
    CliSeeHelp = 423,            // after a refusal: "#" the call to ask ("zelvarion-cli scan")
    CliUnknownOption = 424,      // "#" the option
    CliOptionTwice = 425,        // "#" the option
    CliOptionTakesNoValue = 426, // "#" the option
    CliOptionNeedsValue = 427,   // "#" the option, "%" what its value is
    CliUnknownCommand = 428,     // "#" the command
    CliDashOperand = 429,        // after an unknown option beginning with one dash
    ImageNotCatalogued = 460, // "#" the file a file manager asked to open
    ScriptFailed = 461,           // "#" the script; its output follows on the next lines
    ThumbnailStoreMissing = 462,  // "#" the store's folder
    ImagesWithoutThumbnail = 463, // "#" their count
    // From 480: several people on one server catalogue.
    CatalogueHeldBy = 480, // "#" the user, "%" the machine holding a server catalogue's write lock
};

inline constexpr int kFieldLabelCount = 35;

// The label of IPTC field fieldIndex (0 = ObjectName ... 34 = Customized): the labels are
// consecutive keys in field order.
constexpr InterfaceText fieldLabel(int fieldIndex)
{
    return InterfaceText(int(InterfaceText::FieldLabelObjectName) + fieldIndex);
}

static_assert(fieldLabel(kFieldLabelCount - 1) == InterfaceText::FieldLabelCustomized);

// Every named key once, in ascending order, so that checks can walk all of them.
// Through std::to_array: the deduction guide of std::array folds over every element, past the
// nesting limit some compilers keep.
inline constexpr auto kAllInterfaceTexts = std::to_array<InterfaceText>({
    InterfaceText::FileMenu, InterfaceText::ExitMenuItem, InterfaceText::LanguageMenu,
    InterfaceText::SqlQueryMenuItem, InterfaceText::HelpMenu, InterfaceText::AboutMenuItem,
    InterfaceText::DatabaseButton, InterfaceText::ImageCountLabel, InterfaceText::FoundCountLabel,
    InterfaceText::ConfigurationMenu, InterfaceText::SearchButton, InterfaceText::SelectDatabaseButton,
    InterfaceText::NewDatabaseButton, InterfaceText::AddFolderButton, InterfaceText::RemoveFolderButton,
    InterfaceText::ScanButton, InterfaceText::CancelButton, InterfaceText::FolderPathHeader,
    InterfaceText::FolderStatusHeader, InterfaceText::FolderFilesHeader, InterfaceText::FolderLastScanHeader,
    InterfaceText::DatabaseHelpLine1, InterfaceText::DatabaseHelpLine2, InterfaceText::DatabaseHelpLine3,
    InterfaceText::PreviousImageButton, InterfaceText::CopyMenuItem, InterfaceText::ExecuteButton, InterfaceText::SearchAllIptcOption,
    InterfaceText::SearchFolderNamesOption, InterfaceText::SearchFileNamesOption,
    InterfaceText::FieldLabelObjectName, InterfaceText::FieldLabelEditStatus,
    InterfaceText::FieldLabelUrgency, InterfaceText::FieldLabelCategory,
    InterfaceText::FieldLabelSupplementalCategory, InterfaceText::FieldLabelFixtureIdentifier,
    InterfaceText::FieldLabelKeywords, InterfaceText::FieldLabelReleaseDate,
    InterfaceText::FieldLabelReleaseTime, InterfaceText::FieldLabelSpecialInstructions,
    InterfaceText::FieldLabelReferenceService, InterfaceText::FieldLabelReferenceDate,
    InterfaceText::FieldLabelReferenceNumber, InterfaceText::FieldLabelCreatedDate,
    InterfaceText::FieldLabelCreatedTime, InterfaceText::FieldLabelOriginatingProgram,
    InterfaceText::FieldLabelProgramVersion, InterfaceText::FieldLabelObjectCycle,
    InterfaceText::FieldLabelByline, InterfaceText::FieldLabelBylineTitle, InterfaceText::FieldLabelCity,
    InterfaceText::FieldLabelProvinceState, InterfaceText::FieldLabelCountryCode,
    InterfaceText::FieldLabelCountry, InterfaceText::FieldLabelOriginalTransmissionReference,
    InterfaceText::FieldLabelHeadline, InterfaceText::FieldLabelCredit, InterfaceText::FieldLabelContact,
    InterfaceText::FieldLabelSource, InterfaceText::FieldLabelCopyright, InterfaceText::FieldLabelCaption,
    InterfaceText::FieldLabelLocalCaption, InterfaceText::FieldLabelCaptionWriter,
    InterfaceText::FieldLabelImageType, InterfaceText::FieldLabelCustomized, InterfaceText::SearchFieldsFrame,
    InterfaceText::SearchOptionsMenuItem, InterfaceText::DetailPathLabel, InterfaceText::MainHelpLine1,
    InterfaceText::MainHelpLine2, InterfaceText::MainHelpLine4Start, InterfaceText::EraseHistoryQuestion,
    InterfaceText::StayOnTopMenuItem, InterfaceText::NextImageButton, InterfaceText::CreateThumbnailsOption,
    InterfaceText::UseThumbnailsMenuItem, InterfaceText::ThumbnailsExplanation,
    InterfaceText::ExistingThumbnailsFrame, InterfaceText::RecreateThumbnailsOption,
    InterfaceText::KeepThumbnailsOption, InterfaceText::WholeWordOption, InterfaceText::CompactDatabaseButton,
    InterfaceText::MainHelpLine3, InterfaceText::DetailLastRevisionLabel, InterfaceText::NeverRevisedOption,
    InterfaceText::AlreadyRevisedOption, InterfaceText::ChronologicalOrderOption,
    InterfaceText::ReverseChronologicalOrderOption, InterfaceText::WithoutIptcOption,
    InterfaceText::WithIptcOption, InterfaceText::DescriptionTab, InterfaceText::CategoriesTab,
    InterfaceText::DatesPlacesTab, InterfaceText::OtherFieldsTab, InterfaceText::KeywordLabel,
    InterfaceText::AddButton, InterfaceText::ReplaceButton, InterfaceText::RemoveButton,
    InterfaceText::NoUrgency, InterfaceText::Urgency1Note, InterfaceText::Urgency5Note,
    InterfaceText::Urgency9Note, InterfaceText::NoObjectCycle, InterfaceText::ObjectCycleMorning,
    InterfaceText::ObjectCycleEvening, InterfaceText::ObjectCycleBoth, InterfaceText::DetailCreatedLabel,
    InterfaceText::DetailModifiedLabel, InterfaceText::DetailSizeLabel, InterfaceText::UnitBytes,
    InterfaceText::UnitKilobytes, InterfaceText::UnitMegabytes, InterfaceText::UnitGigabytes,
    InterfaceText::NowButton, InterfaceText::IptcNotReadWarning, InterfaceText::IptcFromXmpNote,
    InterfaceText::ReadOnlyImageNote, InterfaceText::EditOptionsMenuItem,
    InterfaceText::ReadFromFilesOption, InterfaceText::ReadFromFilesNote,
    InterfaceText::ReadFromDatabaseOption, InterfaceText::ReadFromDatabaseNote,
    InterfaceText::KeepCreationDateOption, InterfaceText::SaveOriginalsOption, InterfaceText::BrowseButton,
    InterfaceText::UnknownFolderWarning, InterfaceText::IptcFromTiffTagNote,
    InterfaceText::IptcFromExifTagNote, InterfaceText::IptcFromTrailerNote, InterfaceText::CustomizedTab, InterfaceText::SpellCheckTip,
    InterfaceText::SpellCheckAllLabel, InterfaceText::CustomizedFieldLabel,
    InterfaceText::EditCustomizedOption, InterfaceText::ControlLengthsOption,
    InterfaceText::CustomizedNameLabel, InterfaceText::EditCustomizedNamesButton,
    InterfaceText::FieldSearchOption, InterfaceText::SortedByLabel, InterfaceText::SortNone,
    InterfaceText::SortFileSize, InterfaceText::SortWidth, InterfaceText::SortHeight,
    InterfaceText::SortFileName, InterfaceText::SortFolder, InterfaceText::CustomizedNamesHint,
    InterfaceText::NotMarkedLegend, InterfaceText::MarkedLegend, InterfaceText::DisplayMarkedMenuItem,
    InterfaceText::StatisticsMenuItem, InterfaceText::WordHeader, InterfaceText::OccurrencesHeader,
    InterfaceText::ToolsMenu, InterfaceText::AnalyseButton, InterfaceText::AnalysingStatus,
    InterfaceText::AnalysisSummary, InterfaceText::RemoveAllMarksMenuItem, InterfaceText::EmptyWordsMenuItem,
    InterfaceText::EmptyWordLabel, InterfaceText::IgnoreEmptyWordsOption,
    InterfaceText::HighlightUnknownButton, InterfaceText::CopyImagesMenuItem,
    InterfaceText::DestinationFolderLabel, InterfaceText::CopyOkButton, InterfaceText::UnknownOnlyOption,
    InterfaceText::EditIptcMenuItem, InterfaceText::OpenImageMenuItem, InterfaceText::DefineTemplatesMenuItem,
    InterfaceText::TemplateNameLabel, InterfaceText::TemplateIptcCountHeader,
    InterfaceText::TemplateCustomizedCountHeader, InterfaceText::TemplateSavedHeader,
    InterfaceText::EditTemplateButton, InterfaceText::RemoveTemplateQuestion, InterfaceText::TemplatesMenu,
    InterfaceText::SelectionMenu, InterfaceText::NoTemplateInUse, InterfaceText::TemplateInUse,
    InterfaceText::PermissionsLabel, InterfaceText::UndoTemplateRunMenuItem, InterfaceText::NoTemplateRunToUndo,
    InterfaceText::ApplyTemplateMenuItem, InterfaceText::MergeKeepOriginalOption,
    InterfaceText::MergeOverwriteNonEmptyOption, InterfaceText::MergeOverwriteAllOption,
    InterfaceText::ImagesProcessedStatus, InterfaceText::ConfirmMergeKeepOriginal,
    InterfaceText::ConfirmMergeOverwriteNonEmpty, InterfaceText::ConfirmMergeOverwriteAll,
    InterfaceText::StopButton, InterfaceText::CloseButton, InterfaceText::NotJpegWarning,
    InterfaceText::NotProcessedLabel, InterfaceText::CurrentImageLabel, InterfaceText::ClickRowHint,
    InterfaceText::MissingPathColumnsWarning, InterfaceText::DeleteMenuItem, InterfaceText::RenameMenuItem,
    InterfaceText::PropertiesMenuItem, InterfaceText::ExportXmlMenuItem, InterfaceText::NoXslChoice,
    InterfaceText::MarkResultMenuItem, InterfaceText::UnmarkResultMenuItem, InterfaceText::EmptyResultWarning,
    InterfaceText::XmlTitleLabel, InterfaceText::DisplayXmlButton, InterfaceText::XslListLabel,
    InterfaceText::AnalyseKeywordsOption, InterfaceText::AnalyseAllFieldsOption,
    InterfaceText::KeepBackupOption, InterfaceText::OverwriteBackupOption,
    InterfaceText::NotInDictionaryLabel, InterfaceText::ChangeToLabel, InterfaceText::SuggestionsLabel,
    InterfaceText::ChangeButton, InterfaceText::ChangeAllButton, InterfaceText::IgnoreButton, InterfaceText::StartupNotice,
    InterfaceText::DefineDatabaseMenuItem, InterfaceText::ExportThumbnailsOption,
    InterfaceText::NoExportThumbnailsOption, InterfaceText::IgnoreAllButton, InterfaceText::MainHelpLine4End, InterfaceText::CheckMarkFrame,
    InterfaceText::SearchDoublesMenuItem, InterfaceText::TranslationOption, InterfaceText::SaveSelectionLabel,
    InterfaceText::TranslationFrame, InterfaceText::EditTranslationsButton,
    InterfaceText::SelectionNameHeader, InterfaceText::TranslationPairsUnit,
    InterfaceText::SelectionsMenuItem, InterfaceText::SaveButton, InterfaceText::DisplaySelectionButton,
    InterfaceText::SelectionImagesHeader, InterfaceText::DisplayImageMenuItem,
    InterfaceText::ExactExpressionOption, InterfaceText::AndOperatorOption, InterfaceText::OrOperatorOption,
    InterfaceText::AddTemplateKeywordsOption, InterfaceText::RemoveTemplateKeywordsOption,
    InterfaceText::AddToDictionaryButton,
    InterfaceText::FirstPageTip, InterfaceText::PreviousPageTip, InterfaceText::NextPageTip,
    InterfaceText::LastPageTip, InterfaceText::AboutDescription, InterfaceText::AboutEngineLabel,
    InterfaceText::AboutLibrariesLabel, InterfaceText::AboutSystemLabel, InterfaceText::RowsNotUpdatedStatus,
    InterfaceText::ImagesUntouchedStatus, InterfaceText::RowNotUpdatedReason, InterfaceText::FileDialogLookIn,
    InterfaceText::FileDialogFilesOfType, InterfaceText::FileDialogOpenButton,
    InterfaceText::CatalogueFileFilter, InterfaceText::SearchIndexProgress,
    InterfaceText::ImagesNotProcessedStatus, InterfaceText::NotProcessedImageHeader,
    InterfaceText::NotProcessedReasonHeader, InterfaceText::ScanFileProgress, InterfaceText::DoubleFileNamesResult,
    InterfaceText::MarkedImagesResult, InterfaceText::ConsoleImageResult,
    InterfaceText::CodeFilesLabel, InterfaceText::CodeFilesChooseButton, InterfaceText::CodeFilesClearButton,
    InterfaceText::CodeDelimiterLabel, InterfaceText::CodeFilesDialogTitle, InterfaceText::CodeFileFilter,
    InterfaceText::NoCodeFiles, InterfaceText::EntrySuggestionsTip, InterfaceText::PackOwnName, InterfaceText::PackLocale,
    InterfaceText::DateFormLetters, InterfaceText::DateFieldHint, InterfaceText::TimeFieldHint,
    InterfaceText::LabelColon, InterfaceText::TranslationBothWays, InterfaceText::TranslationFirstToSecond,
    InterfaceText::TranslationSecondToFirst, InterfaceText::OpenedImageResult, InterfaceText::ServerAddressHint,
    InterfaceText::ConnectButton,
});

inline constexpr auto kAllMessages = std::to_array<Message>({
    Message::CatalogueNotFound, Message::CatalogueNotFoundHint, Message::FolderRefused,
    Message::FolderOverlaps, Message::SubfolderRowsNote, Message::ReplaceExistingFile,
    Message::NoFolderSelected, Message::RemoveFolderQuestion, Message::NoSearchPlace,
    Message::NothingToSearch, Message::ElapsedTime, Message::FolderMissing, Message::AlreadyInList,
    Message::NoEntrySelected, Message::TextTooLong, Message::InvalidDate, Message::InvalidTime,
    Message::NothingToCheck, Message::SpellerUnavailable, Message::SpellCheckFailed,
    Message::InvalidDatasetNumber, Message::DatasetNumberUsed, Message::DatasetNumberMissing,
    Message::ChooseField, Message::ListLimitReached, Message::SaveImageChangesQuestion, Message::SelectOnly, Message::NewFileNamePrompt,
    Message::InvalidFileNameCharacter, Message::FileNameTaken, Message::RenameFailed, Message::XmlFileMissing,
    Message::LoadingXsl, Message::LoadingXml, Message::TransformingXml, Message::RenderingDone,
    Message::XmlParserMissing, Message::UndoTemplateRunQuestion, Message::DeleteFileQuestion, Message::TrashRefused,
    Message::FirstStatementOnly, Message::CopyImagesSummary, Message::SelectionNameUsed, Message::SelectionNameRequired,
    Message::NoSelectionChosen, Message::RemoveSelectionQuestion, Message::RenameSelectionPrompt, Message::UndoTemplateRunReport,
    Message::HelpFileMissing, Message::HelpNotOpened, Message::CatalogueBusyWaiting,
    Message::CatalogueBusyRefused, Message::CatalogueNotLocked, Message::CatalogueNotWritable,
    Message::ValueTooManyBytes, Message::ScanRolledBack, Message::FileUnreadable,
    Message::UnreadableFilesLeftOut, Message::OutputExtensionRefused, Message::OutputOutsideExportFolder,
    Message::NotACatalogue, Message::CatalogueKept, Message::NoCatalogueChosen, Message::WaitingForFormatter,
    Message::NothingRendered, Message::ThumbnailsFolderOutside, Message::WordRequired, Message::NoImageFound,
    Message::TrashNameTooLong,
    Message::CannotOpenCatalogue, Message::CannotGetData, Message::CannotSetData,
    Message::CannotUpdateData, Message::CannotInsertData, Message::CannotAddData,
    Message::CannotRemoveData, Message::CannotCountData, Message::CannotDeleteData,
    Message::CannotGetFolders, Message::CannotCreateTable, Message::CannotCreateIndex,
    Message::CannotSetDefaultTempStore, Message::CannotSetDefaultCacheSize,
    Message::CannotSetDefaultSynchronous, Message::CannotSetTempStore, Message::CannotSetCacheSize,
    Message::CannotSetSynchronous, Message::CannotBeginTransaction, Message::CannotEndTransaction,
    Message::CannotRunVacuum, Message::CannotAddToSelections, Message::CannotUpdateFromSelections,
    Message::CannotEmptyTranslations, Message::CannotAddToTranslations, Message::CannotGetTranslation,
    Message::CannotWriteFile, Message::CannotOpenUndoJournal, Message::CannotReadUndoJournal,
    Message::CannotUseUndoJournal, Message::CannotReadFile, Message::CannotCreateTemporaryFile,
    Message::CannotCopyFile, Message::CannotFlushFile, Message::CannotKeepPermissionsAndDates,
    Message::CannotKeepPermissions, Message::CannotCloseFile, Message::CannotReplaceFile,
    Message::CannotRenameFile, Message::ProgramNotStarted,
    Message::ReasonCannotOpen, Message::ReasonReadOnly, Message::ReasonEmpty, Message::ReasonReadIncomplete, Message::ReasonNotJpeg, Message::ReasonDamagedIptc, Message::ReasonOtherIptcResource, Message::ReasonXmpUnreadable, Message::ReasonXmpRefusesValues, Message::ReasonXmpUnwritable, Message::ReasonXmpTooLarge, Message::ReasonNotRecorded, Message::ReasonFileGone, Message::ReasonNotAFile, Message::ReasonChangedSinceRun, Message::ReasonNewerJournal, Message::ReasonJournalMismatch, Message::ReasonRowNotUpdated, Message::ReasonJournalUnreadable, Message::ReasonNoBackup, Message::ReasonFileMissing,
    Message::ReasonNoBackupFolder, Message::ReasonBackupFolderMissing, Message::ReasonBackupOverImage,
    Message::ReasonUnreadableForBackup, Message::ReasonBackupIndexUnusable, Message::ReasonBackupIndexUnreadable,
    Message::ReasonBackupIndexUnwritable, Message::ReasonIptcNotWritten, Message::ReasonValueOverLimit,
    Message::ReasonValueOverLimitUtf8, Message::CustomizedDatasetName, Message::DamageDatasetPastEnd,
    Message::DamageClaimsMoreThanHeld, Message::DamageHeaderCut, Message::ErrorReadingFile,
    Message::StylesheetNotLoaded, Message::StylesheetFileLabel, Message::XmlNotLoaded, Message::XmlFileLabel,
    Message::PluralOneCounts, Message::CliNothingToSearch, Message::CliPresenceTakesNoText,
    Message::CliTranslationShown, Message::CliFilesCount, Message::CliFoldersCount, Message::CliUnreadableCount,
    Message::CliFilesPerSecond, Message::CliCatalogueCreated, Message::CliThumbnailStoreUnwritable,
    Message::CliScanLeftCatalogue, Message::CliWouldWrite, Message::CliWritten, Message::CliNotProcessed,
    Message::CliSkipped, Message::CliRowNotUpdated, Message::CliLeftAsItWas, Message::CliImagesWouldBeWritten,
    Message::CliImagesProcessed, Message::CliNoTerminal, Message::CliImagesInQuestion, Message::CliNothingWritten,
    Message::CliImagesMarked, Message::CliImagesUnmarked, Message::CliNoMarkRemoved, Message::CliNoStylesheet,
    Message::CliRunUndone, Message::CliFilesRestored, Message::CliFilesSkipped, Message::CliJournalUnusable,
    Message::CliNoSuchRun, Message::CliUndoRunQuestion, Message::CliNothingRestored, Message::CliNotCatalogued,
    Message::CliRenameQuestion, Message::CliNothingRenamed, Message::CliCopyQuestion, Message::CliNothingCopied,
    Message::CliNothingRemoved, Message::CliNoSelectionNamed, Message::CliNoTemplateNamed, Message::CliIndexing,
    Message::CliIndexFailed, Message::CliCannotOpen, Message::CliDamagedIptc, Message::CliWriteWithoutCatalogue,
    Message::CliFileMissing, Message::CliFileNotWritten, Message::CliRewriteQuestion, Message::CliUndoRunNumber,
    Message::CliNotInList, Message::CliCatalogueMissing, Message::CliInUse, Message::CliNotWritten,
    Message::CliNoRunLeft,
    Message::XmlExportDone,
    Message::VariableNotClosed, Message::VariableUnknown, Message::VariableFormatUnknown,
    Message::VariableTakesNoFormat, Message::VariableDigits, Message::TemplateNotApplied, Message::CodeUnknown,
    Message::CodeFileUnreadable, Message::CodeLineMalformed, Message::CodeGivenTwice,
    Message::CliNoEntryBegins, Message::CliVocabularyEmpty, Message::CliVocabularyUnreadable,
    Message::ExpectedForm, Message::CliYesNoChoice, Message::CliYesAnswers, Message::CliSeeHelp,
    Message::CliUnknownOption, Message::CliOptionTwice, Message::CliOptionTakesNoValue,
    Message::CliOptionNeedsValue, Message::CliUnknownCommand, Message::CliDashOperand, Message::ImageNotCatalogued,
    Message::ScriptFailed, Message::ThumbnailStoreMissing, Message::ImagesWithoutThumbnail,
    Message::CatalogueHeldBy,
});

namespace detail {

template <typename Key, std::size_t N>
constexpr bool strictlyAscending(const std::array<Key, N> &keys)
{
    for (std::size_t i = 1; i < N; ++i)
        if (int(keys[i - 1]) >= int(keys[i]))
            return false;
    return true;
}

} // namespace detail

// Ascending without repeats, and as many as there are named keys: a name dropped from a list fails
// here. A new name goes into its enumeration and its list, and the count grows by one.
static_assert(detail::strictlyAscending(kAllInterfaceTexts) && kAllInterfaceTexts.size() == 285);
static_assert(detail::strictlyAscending(kAllMessages) && kAllMessages.size() == 233);

} // namespace zelvarion
