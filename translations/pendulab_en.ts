<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="fr_FR">
<context>
    <name>Bench</name>
    <message>
        <location filename="../core/Bench.cpp" line="+12"/>
        <source>Chaque valeur du banc doit être un nombre.</source>
        <translation>Every value of the bench must be a number.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>La masse doit être supérieure à 0 kg.</source>
        <translation>The mass must be above 0 kg.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>La raideur ne peut pas être négative.</source>
        <translation>The stiffness cannot be negative.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Le frottement ne peut pas être négatif.</source>
        <translation>The friction cannot be negative.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>La pulsation de l&apos;excitateur doit être supérieure à 0 rad/s.</source>
        <translation>The exciter&apos;s angular frequency must be above 0 rad/s.</translation>
    </message>
</context>
<context>
    <name>BoardProtocol</name>
    <message>
        <location filename="../acquisition/BoardProtocol.cpp" line="+37"/>
        <source>« %1 »</source>
        <translation>“%1”</translation>
    </message>
    <message>
        <location line="+75"/>
        <location line="+30"/>
        <source>Ligne trop longue reçue de la carte : %1.</source>
        <translation>Line too long received from the board: %1.</translation>
    </message>
    <message>
        <location line="-8"/>
        <source>Ligne coupée : la carte a envoyé %1 sans la terminer.</source>
        <translation>Line cut short: the board sent %1 without ending it.</translation>
    </message>
    <message>
        <location line="+72"/>
        <source>Échantillon manquant : la carte a envoyé le n° %1 alors que le n° %2 était attendu.</source>
        <translation>Missing sample: the board sent no. %1 while no. %2 was expected.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Échantillon répété : la carte a envoyé le n° %1 alors que le n° %2 était attendu.</source>
        <translation>Repeated sample: the board sent no. %1 while no. %2 was expected.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Échantillon en trop : la carte a envoyé le n° %1 pour une mesure de %2 échantillons.</source>
        <translation>Extra sample: the board sent no. %1 for a recording of %2 samples.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Valeur hors plage : la carte a envoyé %1 pour l&apos;échantillon n° %2 (son convertisseur donne 0 à %3).</source>
        <translation>Value out of range: the board sent %1 for sample no. %2 (its converter gives 0 to %3).</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>La carte parle la version %1 du protocole ; Pendulab connaît la version %2.</source>
        <translation>The board speaks version %1 of the protocol; Pendulab knows version %2.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>La carte annonce un convertisseur impossible : %1.</source>
        <translation>The board announces an impossible converter: %1.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Valeur hors plage : la carte a envoyé %1 (son convertisseur donne 0 à %2).</source>
        <translation>Value out of range: the board sent %1 (its converter gives 0 to %2).</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>La carte a compris %1 au lieu de %2.</source>
        <translation>The board understood %1 instead of %2.</translation>
    </message>
    <message>
        <location line="-99"/>
        <source>Ligne inattendue de la carte : %1.</source>
        <translation>Unexpected line from the board: %1.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Ligne illisible au milieu de la mesure, après %1 échantillons : %2.</source>
        <translation>Unreadable line in the middle of the recording, after %1 samples: %2.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Ligne illisible de la carte : %1.</source>
        <translation>Unreadable line from the board: %1.</translation>
    </message>
</context>
<context>
    <name>Calibration</name>
    <message>
        <location filename="../core/Calibration.cpp" line="+16"/>
        <source>Chaque valeur de l&apos;étalonnage doit être un nombre.</source>
        <translation>Every value of the calibration must be a number.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>La pente de l&apos;étalonnage ne peut pas être nulle.</source>
        <translation>The calibration&apos;s slope cannot be zero.</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>Les deux points ont la même tension : l&apos;étalonnage demande deux lectures différentes.</source>
        <translation>Both points have the same voltage: a calibration needs two different readings.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Les deux points sont à la même position : l&apos;étalonnage demande deux positions différentes.</source>
        <translation>Both points are at the same position: a calibration needs two different positions.</translation>
    </message>
</context>
<context>
    <name>CardDriver</name>
    <message>
        <location filename="../acquisition/AcqData.cpp" line="+53"/>
        <source>Fichier %1 introuvable</source>
        <translation>File %1 not found</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Erreur lors du chargement de %1</source>
        <translation>Error while loading %1</translation>
    </message>
</context>
<context>
    <name>CardSource</name>
    <message>
        <location filename="../acquisition/CardSource.cpp" line="+31"/>
        <source>Carte SYSAM PCI absente ou hors service!</source>
        <translation>SYSAM PCI card missing or out of order!</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Carte SYSAM PCI (simulation)</source>
        <translation>SYSAM PCI card (simulation)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Carte SYSAM PCI</source>
        <translation>SYSAM PCI card</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Durée trop longue pour la carte : %1 s. Choisissez une durée entre 1 et 4294967 secondes.</source>
        <translation>Duration too long for the card: %1 s. Choose a duration between 1 and 4294967 seconds.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Aucune carte d&apos;acquisition n&apos;est disponible.</source>
        <translation>No data-acquisition card is available.</translation>
    </message>
</context>
<context>
    <name>ExperimentFile</name>
    <message>
        <location filename="../session/ExperimentFile.cpp" line="+92"/>
        <source>Fichier d&apos;expérience invalide : %1, « %2 » manque ou n&apos;est pas %3.</source>
        <translation>Invalid experiment file: %1, “%2” is missing or is not %3.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>un nombre</source>
        <translation>a number</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+65"/>
        <source>un nombre entier</source>
        <translation>a whole number</translation>
    </message>
    <message>
        <location line="-59"/>
        <source>vrai ou faux</source>
        <translation>true or false</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>un texte</source>
        <translation>a text</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>un objet</source>
        <translation>an object</translation>
    </message>
    <message>
        <location line="+7"/>
        <location line="+7"/>
        <source>une liste de nombres</source>
        <translation>a list of numbers</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>Fichier d&apos;expérience invalide : %1 : %2</source>
        <translation>Invalid experiment file: %1: %2</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>mesure %1</source>
        <translation>run %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>une couleur 0xRRVVBB</source>
        <translation>a colour 0xRRGGBB</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>« device » ou « file »</source>
        <translation>“device” or “file”</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>une pente non nulle</source>
        <translation>a non-zero slope</translation>
    </message>
    <message>
        <location line="+35"/>
        <location line="+2"/>
        <source>une liste de colonnes</source>
        <translation>a list of columns</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>colonne</source>
        <translation>column</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Fichier d&apos;expérience tronqué ou abîmé (à l&apos;octet %1 : %2).</source>
        <translation>Experiment file truncated or damaged (at byte %1: %2).</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ce fichier n&apos;est pas une expérience Pendulab.</source>
        <translation>This file is not a Pendulab experiment.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>en-tête</source>
        <translation>header</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cette expérience vient d&apos;une version plus récente de Pendulab (format %1, celui-ci lit le format %2) : mettez Pendulab à jour pour l&apos;ouvrir.</source>
        <translation>This experiment comes from a newer Pendulab (format %1; this one reads format %2): update Pendulab to open it.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>un numéro de version</source>
        <translation>a version number</translation>
    </message>
    <message>
        <location line="+5"/>
        <location line="+3"/>
        <source>une liste de mesures</source>
        <translation>a list of runs</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>le numéro d&apos;une mesure</source>
        <translation>the number of a run</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Impossible d&apos;écrire le fichier %1 : %2.</source>
        <translation>Cannot write the file %1: %2.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Impossible de lire le fichier %1 : %2.</source>
        <translation>Cannot read the file %1: %2.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Le fichier %1 est trop grand pour une expérience.</source>
        <translation>The file %1 is too large for an experiment.</translation>
    </message>
</context>
<context>
    <name>Fit</name>
    <message>
        <location filename="../model/Fit.cpp" line="+226"/>
        <location line="+4"/>
        <source>Intervalle invalide : il sort de l&apos;enregistrement.</source>
        <translation>Invalid interval: it goes beyond the recording.</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Intervalle trop court : au moins 20 points.</source>
        <translation>Interval too short: at least 20 points.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Durée d&apos;échantillonnage invalide.</source>
        <translation>Invalid sampling interval.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>La masse doit être positive.</source>
        <translation>The mass must be positive.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Pulsation de l&apos;excitateur invalide.</source>
        <translation>Invalid driver angular frequency.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>L&apos;enregistrement contient des valeurs invalides.</source>
        <translation>The recording contains invalid values.</translation>
    </message>
    <message>
        <location line="+80"/>
        <source>L&apos;enregistrement est plat : rien à ajuster.</source>
        <translation>The recording is flat: nothing to fit.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>L&apos;enregistrement n&apos;est que du bruit : rien à ajuster.</source>
        <translation>The recording is only noise: nothing to fit.</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>L&apos;ajustement n&apos;a pas convergé.</source>
        <translation>The fit did not converge.</translation>
    </message>
    <message>
        <location filename="../model/FitReport.cpp" line="+35"/>
        <source>décalage</source>
        <translation>offset</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>T : mouvement apériodique</source>
        <translation>T: aperiodic motion</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>écart-type = %1 %2</source>
        <translation>standard deviation = %1 %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ajusté sur toute la mesure (%1 points).</source>
        <translation>Fitted over the whole recording (%1 points).</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ajusté sur l&apos;intervalle de %1 s à %2 s (%3 points).</source>
        <translation>Fitted over the interval from %1 s to %2 s (%3 points).</translation>
    </message>
</context>
<context>
    <name>MeasurementFiles</name>
    <message>
        <location filename="../export/CsvFormat.cpp" line="+279"/>
        <source>ce n&apos;est pas un fichier CSV de Pendulab</source>
        <translation>this is not a Pendulab CSV file</translation>
    </message>
    <message>
        <location line="-155"/>
        <source>nombre illisible pour « %1 »</source>
        <translation>unreadable number for “%1”</translation>
    </message>
    <message>
        <location line="-9"/>
        <source>étalonnage de pente nulle</source>
        <translation>calibration with a zero slope</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>durée illisible</source>
        <translation>unreadable duration</translation>
    </message>
    <message>
        <location line="+52"/>
        <source>la colonne « V (V) » manque</source>
        <translation>the “V (V)” column is missing</translation>
    </message>
    <message>
        <location line="+8"/>
        <location filename="../export/TextImport.cpp" line="+200"/>
        <source>%1 champs au lieu de %2</source>
        <translation>%1 fields instead of %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>plus de 2001 lignes de mesures</source>
        <translation>more than 2001 lines of measurements</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>tension illisible</source>
        <translation>unreadable voltage</translation>
    </message>
    <message>
        <location line="-91"/>
        <source>la durée manque</source>
        <translation>the duration is missing</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>la ligne des titres manque</source>
        <translation>the header line is missing</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 lignes de mesures au lieu de 2001</source>
        <translation>%1 lines of measurements instead of 2001</translation>
    </message>
    <message>
        <location filename="../export/FormatFiles.cpp" line="+69"/>
        <source>données incomplètes : %1 compte %2 points au lieu de %3</source>
        <translation>incomplete data: %1 has %2 points instead of %3</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Impossible d&apos;enregistrer le fichier « %1 » : %2.</source>
        <translation>Cannot save the file “%1”: %2.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Impossible d&apos;ouvrir le fichier « %1 » : %2.</source>
        <translation>Cannot open the file “%1”: %2.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Impossible d&apos;ouvrir le fichier « %1 » : ligne %2 : %3.</source>
        <translation>Cannot open the file “%1”: line %2: %3.</translation>
    </message>
    <message>
        <location line="+47"/>
        <source>le fichier n&apos;existe pas</source>
        <translation>the file does not exist</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+20"/>
        <source>c&apos;est un dossier</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <location line="-16"/>
        <source>le fichier est trop gros (%1 Mo, au plus %2 Mo)</source>
        <translation>the file is too large (%1 MB, at most %2 MB)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>lecture interrompue</source>
        <translation>reading interrupted</translation>
    </message>
    <message>
        <location line="+6"/>
        <location filename="../export/XLSfile.cpp" line="+205"/>
        <source>aucun nom de fichier</source>
        <translation>no file name</translation>
    </message>
    <message>
        <location line="+4"/>
        <location filename="../export/XLSfile.cpp" line="+9"/>
        <source>le fichier est en lecture seule</source>
        <translation>the file is read-only</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>le dossier n&apos;existe pas</source>
        <translation>the folder does not exist</translation>
    </message>
    <message>
        <location line="+37"/>
        <location filename="../export/XLSfile.cpp" line="-19"/>
        <location line="+33"/>
        <location line="+5"/>
        <source>écriture interrompue</source>
        <translation>writing interrupted</translation>
    </message>
    <message>
        <location filename="../export/TextImport.cpp" line="-105"/>
        <source>fichier binaire (octet nul), pas un tableau de texte</source>
        <translation>binary file (null byte), not a text table</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>texte illisible (ce n&apos;est pas de l&apos;UTF-8)</source>
        <translation>unreadable text (it is not UTF-8)</translation>
    </message>
    <message>
        <location line="+156"/>
        <source>le fichier est vide</source>
        <translation>the file is empty</translation>
    </message>
    <message>
        <location line="-113"/>
        <source>une seule colonne : il faut une colonne de temps et au moins une colonne de valeurs</source>
        <translation>only one column: a time column and at least one value column are needed</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>aucune ligne de nombres</source>
        <translation>no line of numbers</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>une seule colonne</source>
        <translation>only one column</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>colonne %1</source>
        <translation>column %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>valeur manquante en colonne %1</source>
        <translation>missing value in column %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>valeur non finie « %1 » en colonne %2</source>
        <translation>non-finite value “%1” in column %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>nombre illisible « %1 » en colonne %2</source>
        <translation>unreadable number “%1” in column %2</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>le temps ne croît pas (%1 s après %2 s)</source>
        <translation>time does not increase (%1 s after %2 s)</translation>
    </message>
    <message>
        <location line="+51"/>
        <source>trop peu de points (%1, il en faut au moins 10)</source>
        <translation>too few points (%1, at least 10 are needed)</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>colonne inexistante</source>
        <translation>no such column</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Le fichier couvre %1 s : seules les %2 premières secondes sont importées.</source>
        <translation>The file covers %1 s: only the first %2 seconds are imported.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Le fichier ne couvre que %1 s : la dernière valeur est prolongée jusqu&apos;à 1 s.</source>
        <translation>The file covers only %1 s: the last value is extended up to 1 s.</translation>
    </message>
    <message>
        <location filename="../export/XLSfile.cpp" line="-30"/>
        <source>Impossible d&apos;enregistrer le fichier %1 : %2</source>
        <translation>Cannot save the file %1: %2</translation>
    </message>
    <message>
        <location filename="../export/XlsxFormat.cpp" line="+119"/>
        <source>le fichier ne peut pas être créé (%1)</source>
        <translation>the file cannot be created (%1)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>un fichier temporaire ne peut pas être créé</source>
        <translation>a temporary file cannot be created</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>mémoire insuffisante</source>
        <translation>not enough memory</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>écriture interrompue (%1)</source>
        <translation>writing interrupted (%1)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>erreur de libxlsxwriter : %1</source>
        <translation>libxlsxwriter error: %1</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>le classeur ne peut pas être créé</source>
        <translation>the workbook cannot be created</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>le fichier n&apos;a pas été écrit</source>
        <translation>the file was not written</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <location filename="../acquisition/Recorder.cpp" line="+18"/>
        <source>Une mesure est déjà en cours.</source>
        <translation>A recording is already under way.</translation>
    </message>
    <message>
        <location line="+77"/>
        <source>La source a cessé d&apos;envoyer des échantillons après %1 sur %2.</source>
        <translation>The source stopped sending samples after %1 of %2.</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+62"/>
        <source>Aucun lâcher détecté : le signal est resté dans la bande de déclenchement.</source>
        <translation>No release detected: the signal stayed within the trigger band.</translation>
    </message>
    <message>
        <location line="-57"/>
        <source>Mesure interrompue après %1 échantillons sur %2 : %3</source>
        <translation>Recording interrupted after %1 of %2 samples: %3</translation>
    </message>
    <message>
        <location line="+59"/>
        <source>La source a cessé d&apos;envoyer des échantillons.</source>
        <translation>The source stopped sending samples.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Mesure interrompue après %1 échantillons : %2</source>
        <translation>Recording interrupted after %1 samples: %2</translation>
    </message>
</context>
<context>
    <name>Report</name>
    <message>
        <location filename="../app/Report.cpp" line="+43"/>
        <source>inconnue</source>
        <translation>unknown</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 à %2</source>
        <comment>date at time</comment>
        <translation>%1 at %2</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>le document PDF n&apos;a pas pu être commencé</source>
        <translation>the PDF document could not be started</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>%1 : aucun tracé</source>
        <translation>%1: no plot</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>le document PDF n&apos;a pas pu être terminé</source>
        <translation>the PDF document could not be finished</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>une nouvelle page n&apos;a pas pu être ajoutée</source>
        <translation>a new page could not be added</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>Oscillations forcées</source>
        <translation>Driven oscillations</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Oscillations libres amorties</source>
        <translation>Free damped oscillations</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Mesure</source>
        <translation>Measurement</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Date : %1</source>
        <translation>Date: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Source : %1</source>
        <translation>Source: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Durée : %1 s</source>
        <translation>Duration: %1 s</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Dernier intervalle du curseur : de %1 s à %2 s (Δt = %3 s)</source>
        <translation>Last cursor interval: from %1 s to %2 s (Δt = %3 s)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>aucune mesure</source>
        <translation>no measurement</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Mesures de l&apos;expérience</source>
        <translation>Runs of the experiment</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 : %2 s, %3%4</source>
        <translation>%1: %2 s, %3%4</translation>
    </message>
    <message>
        <location line="+3"/>
        <source> (mesure active)</source>
        <translation> (active run)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Résultats</source>
        <translation>Results</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Notes</source>
        <translation>Notes</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Modèle</source>
        <translation>Model</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Masse : %1</source>
        <translation>Mass: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Raideur : %1 N/m</source>
        <translation>Stiffness: %1 N/m</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Frottement : %1 kg/s</source>
        <translation>Friction: %1 kg/s</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Amplitude : %1 V</source>
        <translation>Amplitude: %1 V</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Décalage : %1 V</source>
        <translation>Offset: %1 V</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Instant du lâcher : %1 s</source>
        <translation>Release time: %1 s</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Pulsation de l&apos;excitateur : %1 rad/s</source>
        <translation>Driver angular frequency: %1 rad/s</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Amplitude de l&apos;excitateur : %1</source>
        <translation>Driver amplitude: %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Ajustement</source>
        <translation>Fit</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Courbes</source>
        <translation>Curves</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>le dossier %1 n&apos;existe pas</source>
        <translation>the folder %1 does not exist</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>le fichier est en lecture seule</source>
        <translation>the file is read-only</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>le dossier est en lecture seule</source>
        <translation>the folder is read-only</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>le dossier n&apos;accepte pas de nouveau fichier (%1)</source>
        <translation>the folder does not accept a new file (%1)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Le rapport n&apos;a pas pu être enregistré dans %1 : %2.</source>
        <translation>The report could not be saved to %1: %2.</translation>
    </message>
</context>
<context>
    <name>Results</name>
    <message>
        <location filename="../session/Results.cpp" line="+96"/>
        <source>décalage</source>
        <translation>offset</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Mesure</source>
        <translation>Run</translation>
    </message>
    <message>
        <location filename="../session/ResultsGraph.cpp" line="+117"/>
        <source>Moindres carrés ordinaires : un point au moins n&apos;a pas de σ.</source>
        <translation>Ordinary least squares: at least one point has no σ.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Pondérée par les σ ; σ multipliés par √(χ²/ν) = %1.</source>
        <translation>Weighted by the σ; σ multiplied by √(χ²/ν) = %1.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Pondérée par les σ (χ²/ν = %1).</source>
        <translation>Weighted by the σ (χ²/ν = %1).</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 points</source>
        <translation>%1 points</translation>
    </message>
</context>
<context>
    <name>RunSteady</name>
    <message>
        <location filename="../session/RunSteady.cpp" line="+72"/>
        <source>Régime permanent</source>
        <translation>Steady state</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 : %2, %3, %4</source>
        <translation>%1: %2, %3, %4</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 : sans frottement, le mouvement n&apos;atteint pas de régime permanent.</source>
        <translation>%1: without friction, the motion never reaches a steady state.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 : moins de trois périodes de l&apos;excitateur entre %2 s et %3 s.</source>
        <translation>%1: fewer than three periods of the exciter between %2 s and %3 s.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 : la pulsation de l&apos;excitateur doit être supérieure à 0 rad/s.</source>
        <translation>%1: the exciter&apos;s angular frequency must be above 0 rad/s.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 : l&apos;ajustement n&apos;a pas abouti.</source>
        <translation>%1: the fit did not converge.</translation>
    </message>
</context>
<context>
    <name>SerialSource</name>
    <message>
        <location filename="../acquisition/SerialSource.cpp" line="+23"/>
        <source>Pendulab n&apos;a pas le droit d&apos;ouvrir le port série %1. Ajoutez votre compte au groupe « dialout » (sudo usermod -aG dialout $USER), puis fermez la session et rouvrez-la.</source>
        <translation>Pendulab is not allowed to open the serial port %1. Add your account to the “dialout” group (sudo usermod -aG dialout $USER), then log out and log in again.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Le port série %1 n&apos;existe pas : la carte est-elle branchée ?</source>
        <translation>The serial port %1 does not exist: is the board plugged in?</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Le port série %1 est déjà ouvert par un autre programme (le moniteur série de l&apos;IDE Arduino ?). Fermez-le, puis réessayez.</source>
        <translation>The serial port %1 is already open in another program (the Arduino IDE&apos;s serial monitor?). Close it, then try again.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Impossible d&apos;ouvrir le port série %1 (erreur système %2).</source>
        <translation>Cannot open the serial port %1 (system error %2).</translation>
    </message>
    <message>
        <location line="+75"/>
        <source>Le port série %1 s&apos;est fermé pendant que Pendulab cherchait la carte.</source>
        <translation>The serial port %1 closed while Pendulab was looking for the board.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Aucune carte Pendulab ne répond sur %1 (attendue %2 s). Vérifiez que le programme pendulab-board est chargé dans la carte.</source>
        <translation>No Pendulab board answers on %1 (waited %2 s). Check that the pendulab-board program is loaded on the board.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source> Dernière réponse : « ERR %1 ».</source>
        <translation> Last answer: “ERR %1”.</translation>
    </message>
    <message>
        <location filename="../acquisition/SerialRun.cpp" line="+74"/>
        <source>La carte a été débranchée pendant la mesure : %1 échantillons reçus sur %2.</source>
        <translation>The board was unplugged during the recording: %1 of %2 samples received.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>La carte ne répond pas à la demande de mesure (RUN).</source>
        <translation>The board does not answer the recording request (RUN).</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>La carte n&apos;a pas confirmé l&apos;arrêt de la mesure, après %1 échantillons reçus.</source>
        <translation>The board did not confirm the end of the recording, after %1 samples received.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>La carte ne répond plus : %1 échantillons reçus sur %2.</source>
        <translation>The board no longer answers: %1 of %2 samples received.</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>La carte a terminé la mesure après %1 échantillons sur %2.</source>
        <translation>The board ended the recording after %1 of %2 samples.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>La carte refuse la mesure : %1</source>
        <translation>The board refuses the recording: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>La carte a interrompu la mesure après %1 échantillons : %2</source>
        <translation>The board interrupted the recording after %1 samples: %2</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Réponse inattendue de la carte pendant la mesure.</source>
        <translation>Unexpected answer from the board during the recording.</translation>
    </message>
    <message>
        <location filename="../acquisition/SerialSource.cpp" line="+56"/>
        <source>Carte Pendulab (%1)</source>
        <translation>Pendulab board (%1)</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>La carte ne sait pas faire cette mesure : %1 échantillons, un toutes les %2 µs.</source>
        <translation>The board cannot make this recording: %1 samples, one every %2 µs.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>La carte Pendulab (%1) a été débranchée.</source>
        <translation>The Pendulab board (%1) has been unplugged.</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <location filename="../session/Run.cpp" line="+41"/>
        <source>La mesure doit compter de %1 à %2 points.</source>
        <translation>A measurement must have %1 to %2 points.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Un enregistrement doit compter au moins %1 points.</source>
        <translation>A recording must have at least %1 points.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>La durée de la mesure doit être d&apos;au moins une seconde.</source>
        <translation>The measurement must last at least one second.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>La mesure contient une valeur non numérique.</source>
        <translation>The measurement contains a non-numeric value.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Chaque point de la mesure doit avoir son instant.</source>
        <translation>Every point of the measurement needs its instant.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Les instants de la mesure doivent croître.</source>
        <translation>The measurement&apos;s instants must increase.</translation>
    </message>
    <message>
        <location filename="../session/SessionDocument.cpp" line="+42"/>
        <source>« %1 » (mesure %2) : %3</source>
        <translation>“%1” (run %2): %3</translation>
    </message>
    <message>
        <location line="+7"/>
        <location filename="../session/SessionRuns.cpp" line="+25"/>
        <source>Cette mesure n&apos;existe pas.</source>
        <translation>This measurement does not exist.</translation>
    </message>
    <message>
        <location filename="../session/SessionRuns.cpp" line="+13"/>
        <source>L&apos;expérience compte déjà %1 mesures : supprimez-en avant d&apos;en ajouter une.</source>
        <translation>The experiment already holds %1 runs: delete some before adding another.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>L&apos;expérience dépasserait %1 points en tout : supprimez des mesures avant d&apos;en ajouter une.</source>
        <translation>The experiment would pass %1 samples in all: delete runs before adding another.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Mesure %1</source>
        <translation>Run %1</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Le nom d&apos;une mesure ne peut pas être vide.</source>
        <translation>A run&apos;s name cannot be empty.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Le nom d&apos;une mesure compte au plus %1 caractères.</source>
        <translation>A run&apos;s name has at most %1 characters.</translation>
    </message>
    <message>
        <location filename="../session/Session.cpp" line="+125"/>
        <source>La source a envoyé trop de points.</source>
        <translation>The source sent too many points.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Intervalle invalide.</source>
        <translation>Invalid interval.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>La durée doit être d&apos;au moins une seconde.</source>
        <translation>The duration must be at least one second.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Paramètres du modèle invalides.</source>
        <translation>Invalid model parameters.</translation>
    </message>
    <message>
        <location filename="../session/SessionFit.cpp" line="+14"/>
        <source>Aucune mesure à ajuster : lancez une acquisition ou ouvrez un fichier.</source>
        <translation>No measurement to fit: start a recording or open a file.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Aucun intervalle choisi : faites glisser le pointeur sur la courbe de la mesure, puis ajustez.</source>
        <translation>No interval chosen: drag the pointer over the measurement curve, then fit.</translation>
    </message>
    <message>
        <location filename="../session/SessionResults.cpp" line="+15"/>
        <source>Donnez un nom à la colonne.</source>
        <translation>Give the column a name.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Ce nom ou cette unité est trop long.</source>
        <translation>This name or unit is too long.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Une colonne « %1 » existe déjà.</source>
        <translation>A column “%1” already exists.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Cette colonne n&apos;existe pas.</source>
        <translation>This column does not exist.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cette valeur n&apos;est pas un nombre.</source>
        <translation>This value is not a number.</translation>
    </message>
    <message>
        <location filename="../session/SessionUnits.cpp" line="+13"/>
        <source>Unité inconnue.</source>
        <translation>Unknown unit.</translation>
    </message>
</context>
<context>
    <name>TBenchDialog</name>
    <message>
        <location filename="../views/BenchDialog.cpp" line="+32"/>
        <source>Banc simulé</source>
        <translation>Simulated bench</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Masse (kg)</source>
        <translation>Mass (kg)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Raideur (N/m)</source>
        <translation>Stiffness (N/m)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Frottement (kg/s)</source>
        <translation>Friction (kg/s)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Amplitude au lâcher (V)</source>
        <translation>Release amplitude (V)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Position de repos (V)</source>
        <translation>Rest position (V)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Pulsation de l&apos;excitateur (rad/s)</source>
        <translation>Exciter angular frequency (rad/s)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Amplitude de l&apos;excitateur (V)</source>
        <translation>Exciter amplitude (V)</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+2"/>
        <source>Excitateur</source>
        <translation>Exciter</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Le haut du ressort bouge de E·cos(Ωe·t) dès le début de la mesure.</source>
        <translation>The top of the spring moves by E·cos(Ωe·t) from the start of the recording.</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+2"/>
        <source>Masquer les valeurs</source>
        <translation>Hide the values</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Les valeurs du pendule restent cachées : les élèves les mesurent.</source>
        <translation>The pendulum&apos;s values stay hidden: the students measure them.</translation>
    </message>
    <message>
        <location line="+56"/>
        <source>« %1 » est vide : tapez un nombre.</source>
        <translation>“%1” is empty: type a number.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>« %1 » : « %2 » n&apos;est pas un nombre.</source>
        <translation>“%1”: “%2” is not a number.</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Le banc simulé n&apos;a pas pris ces valeurs.</source>
        <translation>The simulated bench did not take these values.</translation>
    </message>
</context>
<context>
    <name>TCalibrationDialog</name>
    <message>
        <location filename="../views/CalibrationDialog.cpp" line="+74"/>
        <source>Étalonner le capteur</source>
        <translation>Calibrate the sensor</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Manière d&apos;étalonner</source>
        <translation>Way to calibrate</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Pente et décalage</source>
        <translation>Slope and offset</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Deux points</source>
        <translation>Two points</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zéro au repos</source>
        <translation>Zero at rest</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>État de l&apos;étalonnage</source>
        <translation>Calibration status</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Appliquer aussi à la &amp;mesure active</source>
        <translation>Apply to the active &amp;run too</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>La mesure active est relue avec cet étalonnage ; sinon seules les prochaines mesures le prennent.</source>
        <translation>The active run is read again with this calibration; otherwise only the next recordings take it.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>&amp;Pente (m/V)</source>
        <translation>&amp;Slope (m/V)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Mètres par volt du capteur, par exemple 0,005 ou 5e-3.</source>
        <translation>The sensor&apos;s metres per volt, for example 0.005 or 5e-3.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Décalage (m)</source>
        <translation>&amp;Offset (m)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Position, en mètres, lue à 0 V.</source>
        <translation>Position, in metres, read at 0 V.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Lire</source>
        <translation>Read</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Moyenne de l&apos;entrée sur une demi-seconde, mise dans la tension.</source>
        <translation>The input averaged over half a second, put in the voltage.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Position de la masse, dans l&apos;unité choisie.</source>
        <translation>Position of the mass, in the chosen unit.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Tension du capteur à cette position, tapée ou lue.</source>
        <translation>The sensor&apos;s voltage at this position, typed or read.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Position du point &amp;1</source>
        <translation>Position of point &amp;1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Tension du point 1 (V)</source>
        <translation>Voltage of point 1 (V)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Lire la tension du point 1</source>
        <translation>Read the voltage of point 1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Position du point &amp;2</source>
        <translation>Position of point &amp;2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Tension du point 2 (V)</source>
        <translation>Voltage of point 2 (V)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Lire la tension du point 2</source>
        <translation>Read the voltage of point 2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Unité des positions</source>
        <translation>&amp;Unit of the positions</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>L&apos;unité des deux positions tapées.</source>
        <translation>The unit of the two positions typed.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>La masse au repos : « Zéro ici » lit l&apos;entrée une demi-seconde et choisit le décalage qui fait de cette position le zéro, avec la pente de l&apos;onglet « Pente et décalage ».</source>
        <translation>The mass at rest: “Zero here” reads the input for half a second and chooses the offset that makes this position zero, with the slope of the “Slope and offset” tab.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Zéro ici</source>
        <translation>&amp;Zero here</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Par &amp;défaut de la source</source>
        <translation>Source&apos;s &amp;default</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Les prochaines mesures prennent l&apos;étalonnage de la source.</source>
        <translation>The next recordings take the source&apos;s calibration.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Appliquer</source>
        <translation>&amp;Apply</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Les prochaines mesures prennent cet étalonnage.</source>
        <translation>The next recordings take this calibration.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>« %1 » est vide : tapez un nombre.</source>
        <translation>“%1” is empty: type a number.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>« %1 » : « %2 » n&apos;est pas un nombre.</source>
        <translation>“%1”: “%2” is not a number.</translation>
    </message>
    <message>
        <location line="+53"/>
        <source>Décalage : %1 m (lu %2 V, pente %3 m/V).</source>
        <translation>Offset: %1 m (read %2 V, slope %3 m/V).</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>La source ne répond pas : tapez le décalage.</source>
        <translation>The source does not answer: type the offset.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>La source ne répond pas : tapez la tension.</source>
        <translation>The source does not answer: type the voltage.</translation>
    </message>
    <message>
        <location line="+39"/>
        <source>Lecture de l&apos;entrée pendant une demi-seconde…</source>
        <translation>Reading the input for half a second…</translation>
    </message>
</context>
<context>
    <name>TCursorReadout</name>
    <message>
        <location filename="../views/CursorReadout.cpp" line="+20"/>
        <location line="+7"/>
        <source>Pointeur t</source>
        <translation>Pointer t</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>position de la souris</source>
        <translation>mouse position</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Intervalle</source>
        <translation>Interval</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Valeur sous le pointeur</source>
        <translation>Value under the pointer</translation>
    </message>
    <message>
        <location line="+63"/>
        <source>   modèle = </source>
        <translation>   model = </translation>
    </message>
</context>
<context>
    <name>TDerivativePage</name>
    <message>
        <location filename="../views/DerivativePage.cpp" line="+14"/>
        <location line="+13"/>
        <source>Dérivée</source>
        <translation>Derivative</translation>
    </message>
    <message>
        <location line="-9"/>
        <source>mesure</source>
        <translation>measurement</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>modèle</source>
        <translation>model</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Dérivée / t</source>
        <translation>Derivative vs t</translation>
    </message>
</context>
<context>
    <name>TEnergyPage</name>
    <message>
        <location filename="../views/EnergyPage.cpp" line="+19"/>
        <location line="+36"/>
        <source>Etude énergétique</source>
        <translation>Energy study</translation>
    </message>
    <message>
        <location line="-33"/>
        <source>énergie cinétique</source>
        <translation>kinetic energy</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>énergie potentielle</source>
        <translation>potential energy</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Ec mesurée</source>
        <translation>measured Ek</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ep mesurée</source>
        <translation>measured Ep</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Em mesurée</source>
        <translation>measured Em</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+32"/>
        <source>Tracez le modèle pour voir son énergie.</source>
        <translation>Draw the model to see its energy.</translation>
    </message>
    <message>
        <location line="-26"/>
        <source>Perte par période</source>
        <translation>Loss per period</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Énergies</source>
        <translation>Energies</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Cette mesure est en %1 sans étalonnage : pas d&apos;énergie en joules.
Étalonnez le capteur (Outils › Étalonner le capteur…).</source>
        <translation>This run is in %1 without a calibration: no energy in joules.
Calibrate the sensor (Tools › Calibrate the sensor…).</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Enregistrement trop espacé pour son énergie : la dérivée
s&apos;étend sur plus d&apos;un vingtième de période.</source>
        <translation>Samples too far apart for its energy: the derivative
spans more than a twentieth of a period.</translation>
    </message>
    <message>
        <location line="+69"/>
        <source>Perte d&apos;énergie par période : mesurée %1, modèle (1 − e^(−h·T/m)) %2</source>
        <translation>Energy lost per period: measured %1, model (1 − e^(−h·T/m)) %2</translation>
    </message>
</context>
<context>
    <name>TFichePrincipale</name>
    <message>
        <location filename="../app/Main.cpp" line="+109"/>
        <source>&amp;Acquisition</source>
        <translation>&amp;Record</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Modélisation</source>
        <translation>&amp;Model</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>E&amp;xporter</source>
        <translation>E&amp;xport</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Imprimer</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Configurer impression</source>
        <translation>Print &amp;setup</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Imprime écran</source>
        <translation>&amp;Print screen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Rapport PDF…</source>
        <translation>PDF &amp;report…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Quitter</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <location line="+66"/>
        <source>Quitter le programme ?</source>
        <translation>Quit the program?</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Prêt à lacher le pendules ?</source>
        <translation>Ready to release the pendulum?</translation>
    </message>
    <message>
        <location filename="../app/MainExport.cpp" line="+23"/>
        <source>Exporter</source>
        <translation>Export</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Exporter (aucune mesure enregistrée)</source>
        <translation>Export (no measurement recorded)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Fichiers excel (*.xls *.XLS);;Classeurs Excel 2007 et suivants (*.xlsx *.XLSX);;Fichiers CSV (*.csv *.CSV)</source>
        <translation>Excel files (*.xls *.XLS);;Excel 2007 and later workbooks (*.xlsx *.XLSX);;CSV files (*.csv *.CSV)</translation>
    </message>
    <message>
        <location line="+46"/>
        <source>Fichier %1 sauvegardé (mesure rééchantillonnée sur %2 instants réguliers).</source>
        <translation>File %1 saved (recording resampled onto %2 even instants).</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Aucune mesure à exporter.</source>
        <translation>No run to export.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Exporter l&apos;expérience</source>
        <translation>Export the experiment</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>experience.xlsx</source>
        <comment>default file name</comment>
        <translation>experiment.xlsx</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Classeurs Excel 2007 et suivants (*.xlsx *.XLSX)</source>
        <translation>Excel 2007 and later workbooks (*.xlsx *.XLSX)</translation>
    </message>
    <message>
        <location filename="../app/MainExperiment.cpp" line="+34"/>
        <source>experience.pendulab</source>
        <comment>default file name</comment>
        <translation>experiment.pendulab</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Enregistrer l&apos;expérience</source>
        <translation>Save the experiment</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Expériences Pendulab (*.pendulab)</source>
        <translation>Pendulab experiments (*.pendulab)</translation>
    </message>
    <message>
        <location line="+12"/>
        <location filename="../app/MainExport.cpp" line="-50"/>
        <location line="+39"/>
        <location line="+41"/>
        <location filename="../app/MainFiles.cpp" line="+150"/>
        <source>Fichier %1 sauvegardé.</source>
        <translation>File %1 saved.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>L&apos;expérience n&apos;est pas enregistrée.</source>
        <translation>The experiment is not saved.</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>Notes</source>
        <translation>Notes</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Notes de l&apos;expérience (imprimées avec le rapport) :</source>
        <translation>Notes of the experiment (printed with the report):</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Nouvelle expérience</source>
        <translation>New experiment</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 — modifiée, non enregistrée</source>
        <translation>%1 — modified, not saved</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 — enregistrée</source>
        <translation>%1 — saved</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Restaurer l&apos;expérience non enregistrée ?</source>
        <translation>Restore the unsaved experiment?</translation>
    </message>
    <message>
        <location filename="../app/MainFiles.cpp" line="-107"/>
        <source>&amp;Fichier</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>&amp;Ouvrir…</source>
        <translation>&amp;Open…</translation>
    </message>
    <message>
        <location line="+62"/>
        <source>Ouvrir une mesure</source>
        <translation>Open a measurement</translation>
    </message>
    <message>
        <location line="-61"/>
        <source>&amp;Enregistrer l&apos;expérience</source>
        <translation>&amp;Save the experiment</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Enregistrer l&apos;expérience &amp;sous…</source>
        <translation>Save the experiment &amp;as…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Enregistrer la mesure…</source>
        <translation>Save the measurement…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Exporter l&apos;expérience…</source>
        <translation>Export the experiment…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Notes…</source>
        <translation>Notes…</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Ouvrir</source>
        <translation>Open</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Expériences et mesures (*.pendulab *.csv *.CSV *.txt *.TXT *.tsv *.dat);;Expériences Pendulab (*.pendulab);;Mesures (*.csv *.CSV *.txt *.TXT *.tsv *.dat);;Tous les fichiers (*)</source>
        <translation>Experiments and measurements (*.pendulab *.csv *.CSV *.txt *.TXT *.tsv *.dat);;Pendulab experiments (*.pendulab);;Measurements (*.csv *.CSV *.txt *.TXT *.tsv *.dat);;All files (*)</translation>
    </message>
    <message>
        <location line="+39"/>
        <source>Colonne des valeurs :</source>
        <translation>Column of values:</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Aucune mesure à enregistrer.</source>
        <translation>No measurement to save.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Enregistrer la mesure</source>
        <translation>Save the measurement</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>mesure.csv</source>
        <comment>default file name</comment>
        <translation>measurement.csv</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fichiers CSV (*.csv *.CSV)</source>
        <translation>CSV files (*.csv *.CSV)</translation>
    </message>
    <message>
        <location filename="../app/Printing.cpp" line="+24"/>
        <source>Configurer l&apos;impression</source>
        <translation>Print setup</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Aucune imprimante n&apos;est installée sur cet ordinateur.
Enregistrer la page dans un fichier PDF ?</source>
        <translation>No printer is installed on this computer.
Save the page to a PDF file?</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Enregistrer la page en PDF</source>
        <translation>Save the page as PDF</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Documents PDF (*.pdf)</source>
        <translation>PDF documents (*.pdf)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Impression impossible sur %1.</source>
        <translation>Cannot print on %1.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Page enregistrée dans %1.</source>
        <translation>Page saved to %1.</translation>
    </message>
    <message>
        <location filename="../app/Report.cpp" line="+28"/>
        <source>Enregistrer le rapport PDF</source>
        <translation>Save the PDF report</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>rapport-pendulab.pdf</source>
        <comment>default file name</comment>
        <translation>pendulab-report.pdf</translation>
    </message>
    <message>
        <location filename="../app/MainTools.cpp" line="+19"/>
        <source>&amp;Outils</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Étalonner le capteur…</source>
        <translation>Calibrate the sensor…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Banc simulé…</source>
        <translation>Simulated bench…</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Le banc simulé n&apos;existe qu&apos;avec la carte simulée : choisissez-la comme source.</source>
        <translation>The simulated bench exists only with the simulated card: choose it as the source.</translation>
    </message>
</context>
<context>
    <name>TPortraitPage</name>
    <message>
        <location filename="../views/PortraitPage.cpp" line="+22"/>
        <location line="+25"/>
        <source>Portrait de phase</source>
        <translation>Phase portrait</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Dérivée / x</source>
        <translation>Derivative vs x</translation>
    </message>
</context>
<context>
    <name>TPositionPage</name>
    <message>
        <location filename="../views/PositionPage.cpp" line="+32"/>
        <location line="+3"/>
        <source>Résidus</source>
        <translation>Residuals</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>mesure moins modèle, échelle à droite</source>
        <translation>measurement minus model, scale on the right</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Position mesurée et modèle</source>
        <translation>Measured position and model</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>mesure</source>
        <translation>measurement</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>modèle</source>
        <translation>model</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>Acquisition</source>
        <translation>Recording</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>mesure moins modèle</source>
        <translation>measurement minus model</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>résidus (%1)</source>
        <translation>residuals (%1)</translation>
    </message>
</context>
<context>
    <name>TRecordingControl</name>
    <message>
        <location filename="../app/RecordingControl.cpp" line="+40"/>
        <location line="+164"/>
        <source>&amp;Lancer</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <location line="-162"/>
        <location line="+1"/>
        <location line="+164"/>
        <source>Lachez le pendule et cliquez ici...</source>
        <translation>Release the pendulum and click here...</translation>
    </message>
    <message>
        <location filename="../app/RecordingWidgets.cpp" line="+22"/>
        <location line="+7"/>
        <location line="+16"/>
        <source>Durée totale d&apos;acquisition</source>
        <translation>Total recording time</translation>
    </message>
    <message>
        <location line="-21"/>
        <location line="+5"/>
        <location line="+16"/>
        <source>durée totale en secondes</source>
        <translation>total time in seconds</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Tension entrée EA0</source>
        <translation>Input voltage EA0</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Tension lue</source>
        <translation>Voltage read</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Aucune carte d&apos;acquisition : choisissez une source</source>
        <translation>No data-acquisition card: choose a source</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Progression de l&apos;acquisition</source>
        <translation>Recording progress</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+3"/>
        <source>Déclencher au lâcher</source>
        <translation>Trigger on release</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>La mesure commence quand la masse quitte sa position de repos</source>
        <translation>The recording starts when the mass leaves its rest position</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Seuil de déclenchement, en volts, autour de la position de repos</source>
        <translation>Trigger threshold, in volts, around the rest position</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Seuil de déclenchement</source>
        <translation>Trigger threshold</translation>
    </message>
    <message>
        <location filename="../app/RecordingControl.cpp" line="-112"/>
        <source>Aucune carte d&apos;acquisition n&apos;est disponible.</source>
        <translation>No data-acquisition card is available.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>La durée doit être comprise entre 1 et 120 s.</source>
        <translation>The duration must be between 1 and 120 s.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Seuil de déclenchement invalide : « %1 ». Donnez un nombre de volts positif, par exemple %2.</source>
        <translation>Invalid trigger threshold: “%1”. Give a positive number of volts, for example %2.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>La source ne répond pas : impossible de lire la position de repos.</source>
        <translation>The source does not answer: the rest position cannot be read.</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>En attente du lâcher…</source>
        <translation>Waiting for the release…</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>A&amp;rrêter</source>
        <translation>S&amp;top</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Arrêter</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Lancer</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Arrête la mesure (Echap) ; la mesure précédente reste</source>
        <translation>Stops the recording (Esc); the previous measurement stays</translation>
    </message>
    <message>
        <location filename="../app/RecordingSources.cpp" line="+35"/>
        <location line="+7"/>
        <source>Source</source>
        <translation>Source</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Le dispositif qui enregistre</source>
        <translation>The device that records</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Étalonnage du capteur : mètres par volt</source>
        <translation>Sensor calibration: metres per volt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Mètres par volt</source>
        <translation>Metres per volt</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Port série…</source>
        <translation>Serial port…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Port série (lignes de texte)…</source>
        <translation>Serial port (text lines)…</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Carte Pendulab (%1)</source>
        <translation>Pendulab board (%1)</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>Port série</source>
        <translation>Serial port</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Chemin du port série de la carte (par exemple /dev/ttyACM0) :</source>
        <translation>Path of the board&apos;s serial port (for example /dev/ttyACM0):</translation>
    </message>
    <message>
        <location line="+102"/>
        <source>Étalonnage invalide : « %1 ». Donnez un nombre de mètres par volt positif.</source>
        <translation>Invalid calibration: “%1”. Give a positive number of metres per volt.</translation>
    </message>
</context>
<context>
    <name>TResultsPage</name>
    <message>
        <location filename="../views/ResultsChart.cpp" line="+47"/>
        <source>Mesures ajustées</source>
        <translation>Fitted runs</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Valeurs réglées à la main</source>
        <translation>Values set by hand</translation>
    </message>
    <message>
        <location line="+7"/>
        <location filename="../views/ResultsPage.cpp" line="+56"/>
        <source>Loi</source>
        <translation>Law</translation>
    </message>
    <message>
        <location filename="../views/ResultsPage.cpp" line="-27"/>
        <source>Aucune</source>
        <translation>None</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Proportionnelle</source>
        <translation>Proportional</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Affine</source>
        <translation>Affine</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Puissance</source>
        <translation>Power</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Résonance</source>
        <translation>Resonance</translation>
    </message>
    <message>
        <location line="+19"/>
        <location line="+69"/>
        <source>Résultats</source>
        <translation>Results</translation>
    </message>
    <message>
        <location line="-66"/>
        <source>Ajouter une colonne…</source>
        <translation>Add a column…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Abscisse</source>
        <translation>Abscissa</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ordonnée</source>
        <translation>Ordinate</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Loi ajustée</source>
        <translation>Fitted law</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Régime permanent</source>
        <translation>Steady state</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Graphe des résultats</source>
        <translation>Results graph</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Abscisse :</source>
        <translation>Abscissa:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ordonnée :</source>
        <translation>Ordinate:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Loi :</source>
        <translation>Law:</translation>
    </message>
    <message>
        <location line="+44"/>
        <source>Résultats : graphe et loi</source>
        <translation>Results: graph and law</translation>
    </message>
    <message>
        <location line="+105"/>
        <location line="+2"/>
        <source>Ajouter une colonne</source>
        <translation>Add a column</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Nom de la grandeur (par exemple L0) :</source>
        <translation>Name of the quantity (for example L0):</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Unité de %1 (vide s&apos;il n&apos;y en a pas) :</source>
        <translation>Unit of %1 (empty if it has none):</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>« %1 » n&apos;est pas un nombre.</source>
        <translation>“%1” is not a number.</translation>
    </message>
</context>
<context>
    <name>TRunList</name>
    <message>
        <location filename="../views/RunList.cpp" line="+35"/>
        <source>Mesures</source>
        <translation>Runs</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Les mesures de l&apos;expérience : cochez celles à tracer, cliquez pour rendre une mesure active</source>
        <translation>The experiment&apos;s runs: tick those to draw, click one to make it the active run</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Mesure</source>
        <translation>Run</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Durée</source>
        <translation>Duration</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Source</source>
        <translation>Source</translation>
    </message>
    <message>
        <location line="+55"/>
        <source>Mesure active : tracée en bleu, modélisée, lue par le curseur et exportée</source>
        <translation>Active run: drawn in blue, modelled, read by the cursor and exported</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cochez pour tracer cette mesure ; cliquez pour la rendre active</source>
        <translation>Tick to draw this run; click to make it the active run</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>masquée : pas en %1 — %2</source>
        <translation>hidden: not in %1 — %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cette mesure ne se lit pas en %1 : elle n&apos;est pas tracée.</source>
        <translation>This run does not read in %1: it is not drawn.</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Renommer la mesure</source>
        <translation>Rename the run</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Nom de la mesure :</source>
        <translation>Name of the run:</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Couleur de la mesure</source>
        <translation>Colour of the run</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Supprimer la mesure « %1 » ?</source>
        <translation>Delete the run “%1”?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Elle n&apos;est pas enregistrée.</source>
        <translation>It is not saved.</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Renommer…</source>
        <translation>Rename…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Couleur…</source>
        <translation>Colour…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Supprimer</source>
        <translation>Delete</translation>
    </message>
</context>
<context>
    <name>TSpectrumPage</name>
    <message>
        <location filename="../views/FourierPage.cpp" line="+25"/>
        <location line="+18"/>
        <location line="+2"/>
        <source>Spectre</source>
        <translation>Spectrum</translation>
    </message>
    <message>
        <location line="-16"/>
        <source>spectre</source>
        <translation>spectrum</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Pic</source>
        <translation>Peak</translation>
    </message>
    <message>
        <location line="+85"/>
        <source>Pas de pic dans ce spectre.</source>
        <translation>No peak in this spectrum.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Enregistrez une mesure pour voir son spectre.</source>
        <translation>Record a run to see its spectrum.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>   modèle : ω0 = %1 rad/s</source>
        <translation>   model: ω0 = %1 rad/s</translation>
    </message>
</context>
<context>
    <name>TTextLineDialog</name>
    <message>
        <location filename="../views/TextLineDialog.cpp" line="+60"/>
        <source>Port série (lignes de texte)</source>
        <translation>Serial port (text lines)</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Port série</source>
        <translation>Serial port</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Vitesse (bauds)</source>
        <translation>Speed (baud)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Séparateur</source>
        <translation>Separator</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>virgule</source>
        <translation>comma</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>point-virgule</source>
        <translation>semicolon</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>tabulation</source>
        <translation>tab</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>espace</source>
        <translation>space</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Colonne du temps</source>
        <translation>Time column</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>aucune</source>
        <translation>none</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Unité du temps</source>
        <translation>Time unit</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Colonne de la valeur</source>
        <translation>Value column</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Unité de la valeur</source>
        <translation>Value unit</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Mètres par unité</source>
        <translation>Metres per unit</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>L&apos;étalonnage du capteur : une unité de la valeur vaut tant de mètres.</source>
        <translation>The sensor&apos;s calibration: one unit of the value is this many metres.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sans colonne de temps, chaque ligne prend l&apos;instant de son arrivée : ces instants tremblent avec la mise en mémoire tampon de la liaison.</source>
        <translation>Without a time column, each line takes the instant it arrives: these instants jitter with the link&apos;s buffering.</translation>
    </message>
    <message>
        <location line="+66"/>
        <source>Donnez le chemin du port série, par exemple /dev/ttyACM0.</source>
        <translation>Give the serial port&apos;s path, for example /dev/ttyACM0.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Le temps et la valeur ne peuvent pas être dans la même colonne.</source>
        <translation>The time and the value cannot be in the same column.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Donnez l&apos;unité de la valeur, par exemple V ou cm.</source>
        <translation>Give the value&apos;s unit, for example V or cm.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Étalonnage invalide : « %1 ». Donnez un nombre de mètres par unité positif.</source>
        <translation>Invalid calibration: “%1”. Give a positive number of metres per unit.</translation>
    </message>
</context>
<context>
    <name>TUnitChoice</name>
    <message>
        <location filename="../app/UnitChoice.cpp" line="+19"/>
        <location line="+6"/>
        <source>Unité</source>
        <translation>Unit</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>L&apos;unité des positions sur les courbes, dans le modèle et les exports</source>
        <translation>The unit of positions on the charts, in the model and in the exports</translation>
    </message>
</context>
<context>
    <name>TValueBox</name>
    <message>
        <location filename="../views/ValueBox.cpp" line="+20"/>
        <source>Tapez une valeur.</source>
        <translation>Type a value.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>« %1 » n&apos;est pas un nombre : des chiffres et une virgule (ou un point), sans espace ni exposant.</source>
        <translation>“%1” is not a number: digits and one decimal comma (or point), with no space or exponent.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 est hors des limites : de %2 à %3 %4.</source>
        <translation>%1 is out of bounds: from %2 to %3 %4.</translation>
    </message>
</context>
<context>
    <name>Tavert</name>
    <message>
        <location filename="../app/avertisit1.cpp" line="+13"/>
        <source>Contact : l&apos;équipe de développement de Pendulab</source>
        <translation>Contact: the Pendulab development team</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Pour les lycées et les classes de physique</source>
        <translation>For high schools and physics classes</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Logiciel pour l&apos;étude des oscillations du pendule amorti/excité</source>
        <translation>Studies the oscillations of the damped/driven pendulum</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Acquisition du déplacement vertical du poids avec une carte</source>
        <translation>Recording of the weight&apos;s vertical displacement with a</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>SYSAM (Eurosmart).</source>
        <translation>SYSAM card (Eurosmart).</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Au menu :</source>
        <translation>Features:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>* acquisition de la tension proportionnelle à la position du ressort</source>
        <translation>* recording of a voltage following the spring&apos;s position</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>* tracé automatique de la dérivée et du portrait de phase</source>
        <translation>* automatic plot of the derivative and of the phase portrait</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>* possibilité de modéliser en surimpression la courbe théorique</source>
        <translation>* the theoretical curve can be modelled as an overlay</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>  pour retrouver les paramètres.</source>
        <translation>  to find the parameters.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>* Simulation du régime entretenu (moteur d&apos;excitation en haut du </source>
        <translation>* Simulation of driven oscillations (driving motor at</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ressort)</source>
        <translation>the top of the spring)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>* Exportation des valeurs vers Excel.</source>
        <translation>* Export of the values to Excel.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>* Tracé du bilan énergétique de la simulation</source>
        <translation>* Plot of the simulation&apos;s energy balance</translation>
    </message>
    <message>
        <location line="+8"/>
        <location line="+14"/>
        <source>À propos de Pendulab</source>
        <translation>About Pendulab</translation>
    </message>
</context>
<context>
    <name>Tconfig</name>
    <message>
        <location filename="../views/conf1Build.cpp" line="+75"/>
        <location filename="../views/conf1Units.cpp" line="+23"/>
        <source>Flèches : ±%1 %2</source>
        <translation>Arrows: ±%1 %2</translation>
    </message>
    <message>
        <location filename="../views/conf1.cpp" line="+40"/>
        <source>Modélisation</source>
        <translation>Model</translation>
    </message>
    <message>
        <location filename="../views/conf1Build.cpp" line="+26"/>
        <source>Ressort, masse et amortisseur</source>
        <translation>Spring, mass and damper</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+6"/>
        <location line="+2"/>
        <location line="+1"/>
        <location filename="../views/conf1Units.cpp" line="+21"/>
        <source>Amplitude</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>décalage de la courbe</source>
        <translation>curve offset</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>décalage en Y</source>
        <translation>Y offset</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../views/conf1Units.cpp" line="+1"/>
        <source>Décalage</source>
        <translation>Offset</translation>
    </message>
    <message>
        <location line="+5"/>
        <location line="+4"/>
        <source>déphasage sur t</source>
        <translation>time shift</translation>
    </message>
    <message>
        <location line="-1"/>
        <location line="+1"/>
        <source>instant du lâcher</source>
        <translation>release time</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+3"/>
        <location line="+12"/>
        <location line="+3"/>
        <source>Raideur</source>
        <translation>Stiffness</translation>
    </message>
    <message>
        <location line="-13"/>
        <location line="+3"/>
        <location line="+8"/>
        <location line="+3"/>
        <source>Frottement</source>
        <translation>Friction</translation>
    </message>
    <message>
        <location line="-13"/>
        <source>0,2 si</source>
        <translation>0.2 kg/s</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+3"/>
        <location line="+4"/>
        <location line="+3"/>
        <source>Masse</source>
        <translation>Mass</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+5"/>
        <source>Tracer</source>
        <translation>Plot</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+5"/>
        <source>Excit.</source>
        <translation>Driven</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Pulsation propre</source>
        <translation>Natural angular frequency</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Facteur de qualité</source>
        <translation>Quality factor</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Ajuste la raideur, le frottement, l&apos;amplitude, le décalage et l&apos;instant du lâcher t0 (et l&apos;amplitude de l&apos;excitateur à la pulsation réglée, s&apos;il est en marche) à la mesure. La masse reste celle que vous avez réglée : pesez-la, car la seule courbe x(t) ne détermine que k/m et h/m.</source>
        <translation>Fits the stiffness, the friction, the amplitude, the offset and the release time t0 (and the driver&apos;s amplitude at the angular frequency set, when it is on) to the measurement. The mass stays the one you set: weigh it, since the curve x(t) alone determines only k/m and h/m.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>A&amp;juster</source>
        <translation>&amp;Fit</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Ajuster</source>
        <translation>Fit</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+4"/>
        <source>Sur l&apos;intervalle</source>
        <translation>On the interval</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>ajuster sur l&apos;intervalle du dernier glisser du pointeur sur la courbe de la mesure</source>
        <translation>fit on the interval of the last pointer drag over the measurement curve</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+5"/>
        <source>Revenir aux réglages manuels</source>
        <translation>Back to the manual settings</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Résultat de l&apos;ajustement</source>
        <translation>Fit result</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Paramètres de l&apos;excitateur</source>
        <translation>Driver parameters</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+10"/>
        <location line="+2"/>
        <source>Puls</source>
        <translation>ω</translation>
    </message>
    <message>
        <location line="-7"/>
        <location line="+6"/>
        <location line="+2"/>
        <source>Amplit</source>
        <translation>Ampl.</translation>
    </message>
    <message>
        <location filename="../views/conf1.cpp" line="+76"/>
        <source>Modélisation (apériodique)</source>
        <translation>Model (overdamped)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Modélisation (pseudo-périodique)</source>
        <translation>Model (underdamped)</translation>
    </message>
</context>
<context>
    <name>TextLineSource</name>
    <message>
        <location filename="../acquisition/TextLineSource.cpp" line="+129"/>
        <source>%1 lignes qui n&apos;étaient pas des nombres ont été ignorées.</source>
        <translation>%1 lines that were not numbers were skipped.</translation>
    </message>
    <message>
        <location line="+47"/>
        <source>Le temps envoyé par l&apos;appareil %1 (%2 s après %3 s) : la mesure s&apos;arrête là, les %4 échantillons reçus avant sont gardés.</source>
        <translation>The time sent by the device %1 (%2 s after %3 s): the recording ends there, the %4 samples received before are kept.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>se répète</source>
        <translation>repeats</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>revient en arrière</source>
        <translation>goes back</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>L&apos;appareil a été débranché pendant la mesure : %1 échantillons reçus.</source>
        <translation>The device was unplugged during the recording: %1 samples received.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Les lignes de l&apos;appareil ne donnent pas de nombres dans les colonnes choisies (dernière ligne : « %1 »). Vérifiez le séparateur et les colonnes.</source>
        <translation>The device&apos;s lines give no numbers in the chosen columns (last line: “%1”). Check the separator and the columns.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>L&apos;appareil sur %1 n&apos;envoie aucune ligne : le programme de la carte tourne-t-il, à %2 bauds ?</source>
        <translation>The device on %1 sends no lines: is the board&apos;s program running, at %2 baud?</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>L&apos;appareil ne répond plus : %1 échantillons reçus.</source>
        <translation>The device no longer answers: %1 samples received.</translation>
    </message>
    <message>
        <location line="+39"/>
        <source>Arduino %1 bauds (lignes de texte)</source>
        <translation>Arduino %1 baud (text lines)</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Cet appareil mesure à ses propres instants.</source>
        <translation>This device measures at its own instants.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>L&apos;appareil sur %1 a été débranché.</source>
        <translation>The device on %1 was unplugged.</translation>
    </message>
</context>
<context>
    <name>TextLines</name>
    <message>
        <location filename="../acquisition/TextLines.cpp" line="+80"/>
        <source>Vitesse de %1 bauds inconnue : choisissez 9600, 19200, 38400, 57600, 115200 ou 250000.</source>
        <translation>Unknown speed of %1 baud: choose 9600, 19200, 38400, 57600, 115200 or 250000.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Les colonnes se comptent de 1 à %1.</source>
        <translation>Columns are counted from 1 to %1.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Le temps et la valeur ne peuvent pas être dans la même colonne.</source>
        <translation>The time and the value cannot be in the same column.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Donnez l&apos;unité de la valeur.</source>
        <translation>Give the value&apos;s unit.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>L&apos;étalonnage doit être un nombre de mètres par unité positif.</source>
        <translation>The calibration must be a positive number of metres per unit.</translation>
    </message>
</context>
<context>
    <name>UiServices</name>
    <message>
        <location filename="../views/Services.cpp" line="+35"/>
        <source>Confirmation</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Enregistrer</source>
        <translation>Save</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ne pas enregistrer</source>
        <translation>Don&apos;t save</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Avertissement</source>
        <translation>Warning</translation>
    </message>
    <message>
        <location line="+80"/>
        <source>Erreur inattendue</source>
        <translation>Unexpected error</translation>
    </message>
</context>
<context>
    <name>Units</name>
    <message>
        <location filename="../model/ParameterScales.cpp" line="+57"/>
        <source>si</source>
        <translation>kg/s</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>gr</source>
        <translation>g</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>rd/s</source>
        <translation>rad/s</translation>
    </message>
</context>
</TS>
