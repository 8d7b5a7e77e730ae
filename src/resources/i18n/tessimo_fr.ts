<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="fr_FR">
<context>
    <name>tessimo::CAboutDlg</name>
    <message>
        <source>Built with Qt %1 (running on Qt %2), the FluidSynth synthesizer%3 and the PortAudio sound library%4.</source>
        <translation>Construit avec Qt %1 (exécuté sur Qt %2), le synthétiseur FluidSynth%3 et la bibliothèque de son PortAudio%4.</translation>
    </message>
    <message>
        <source>About tessimo</source>
        <translation>À propos de tessimo</translation>
    </message>
    <message>
        <source>Tessimo version %1</source>
        <translation>Tessimo version %1</translation>
    </message>
    <message>
        <source>Copyright © 2026 the Tessimo developers.
A trainer for reading and hearing musical notes.</source>
        <translation>Copyright © 2026 les développeurs de Tessimo.
Un entraînement à la lecture et à l'écoute des notes.</translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or (at your option) any later version. It comes with no warranty.</source>
        <translation>Logiciel libre sous la licence publique générale GNU, version 3 ou (à votre choix) toute version ultérieure. Il est fourni sans aucune garantie.</translation>
    </message>
</context>
<context>
    <name>tessimo::CConfigureDialog</name>
    <message>
        <source>Please enter an integer.</source>
        <translation>Veuillez saisir un nombre entier.</translation>
    </message>
    <message>
        <source>Please enter a number of at least 1.</source>
        <translation>Veuillez saisir un nombre au moins égal à 1.</translation>
    </message>
    <message>
        <source>Check all</source>
        <translation>Tout cocher</translation>
    </message>
    <message>
        <source>Clear all</source>
        <translation>Tout décocher</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>SOUNDS</source>
        <translation>SONS</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Select the notes of a key</source>
        <translation>Choisir les notes d'une tonalité</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Tonalité</translation>
    </message>
    <message>
        <source>Sustain</source>
        <translation>Tenue</translation>
    </message>
    <message>
        <source>Instrument</source>
        <translation>Instrument</translation>
    </message>
    <message>
        <source>TEMPO</source>
        <translation>TEMPO</translation>
    </message>
    <message>
        <source>Beat: dotted %1</source>
        <translation>Temps : %1 pointée</translation>
    </message>
    <message>
        <source>Beat: %1</source>
        <translation>Temps : %1</translation>
    </message>
    <message>
        <source>Notes: %1</source>
        <translation>Notes : %1</translation>
    </message>
    <message>
        <source>Notes: dotted %1</source>
        <translation>Notes : %1 pointée</translation>
    </message>
    <message>
        <source>Time signature</source>
        <translation>Chiffrage de la mesure</translation>
    </message>
    <message>
        <source>Rythm</source>
        <translation>Rythme</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Vitesse</translation>
    </message>
    <message>
        <source>INTERVALS &amp;&amp; CHORDS</source>
        <translation>INTERVALLES &amp;&amp; ACCORDS</translation>
    </message>
    <message numerus="yes">
        <source>%n half tone(s)</source>
        <translation>
            <numerusform>%n demi-ton</numerusform><numerusform>%n demi-tons</numerusform></translation>
    </message>
    <message>
        <source>1/2 tone</source>
        <translation>1/2 ton</translation>
    </message>
    <message>
        <source>Every note of an interval or chord must be a selected note</source>
        <translation>Toutes les notes d'un intervalle ou d'un accord doivent être des notes choisies</translation>
    </message>
    <message>
        <source>Chords</source>
        <translation>Accords</translation>
    </message>
    <message>
        <source>Chords of this type are asked and played</source>
        <translation>Les accords de ce type sont demandés et joués</translation>
    </message>
    <message>
        <source>GAME</source>
        <translation>JEU</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>Check errors</source>
        <translation>Compter les erreurs</translation>
    </message>
    <message>
        <source>Check unknown</source>
        <translation>Compter les oublis</translation>
    </message>
</context>
<context>
    <name>tessimo::CMainFrame</name>
    <message>
        <source>Set up sound ...</source>
        <translation>Régler le son ...</translation>
    </message>
    <message>
        <source>Record again</source>
        <translation>Réenregistrer</translation>
    </message>
    <message>
        <source>Record one word again, alone</source>
        <translation>Enregistrer de nouveau un seul mot</translation>
    </message>
    <message>
        <source>Record %1 again</source>
        <translation>Enregistrer de nouveau %1</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Prêt</translation>
    </message>
    <message>
        <source>default user</source>
        <translation>utilisateur par défaut</translation>
    </message>
</context>
<context>
    <name>tessimo::CProfile</name>
    <message>
        <source>Profile Dialog</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>Select or create a user</source>
        <translation>Choisir ou créer un utilisateur</translation>
    </message>
    <message>
        <source>Users</source>
        <translation>Utilisateurs</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Nom d'utilisateur</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>tessimo::SpinArrows</name>
    <message>
        <source>Up</source>
        <translation>Plus</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Moins</translation>
    </message>
</context>
<context>
    <name>tessimo::CBrindelViewWidget</name>
    <message>
        <source>The preferences file %1 could not be written: %2.</source>
        <translation>Le fichier de préférences %1 n'a pas pu être écrit : %2.</translation>
    </message>
    <message>
        <source>%1 errors</source>
        <translation>%1 erreurs</translation>
    </message>
    <message>
        <source>%1 notes left unanswered</source>
        <translation>%1 notes sans réponse</translation>
    </message>
    <message>
        <source>Game over: %1, the limit set in Game &gt; Configure. To play again, choose %2 again.</source>
        <translation>Partie terminée : %1, la limite fixée dans Jeu &gt; Configurer. Pour rejouer, choisissez de nouveau %2.</translation>
    </message>
</context>
<context>
    <name>tessimo::CommandTable</name>
    <message>
        <source>&amp;Sound set-up ...</source>
        <translation>Réglage du &amp;son ...</translation>
    </message>
    <message>
        <source>Choose the sound devices, test them and set the volume</source>
        <translation>Choisir les appareils sonores, les essayer et régler le volume</translation>
    </message>
    <message>
        <source>&amp;Profile ...</source>
        <translation>&amp;Profil ...</translation>
    </message>
    <message>
        <source>Choose the user, or create a new one</source>
        <translation>Choisir l'utilisateur, ou en créer un nouveau</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Exit the application</source>
        <translation>Quitter l'application</translation>
    </message>
    <message>
        <source>&amp;Configure ...</source>
        <translation>&amp;Configurer ...</translation>
    </message>
    <message>
        <source>Configure the software</source>
        <translation>Configurer le logiciel</translation>
    </message>
    <message>
        <source>Configure</source>
        <translation>Configurer</translation>
    </message>
    <message>
        <source>St&amp;atistics ...</source>
        <translation>Statisti&amp;ques ...</translation>
    </message>
    <message>
        <source>Show the practice history: weak notes, answers per day, confusions</source>
        <translation>Afficher l'historique : notes faibles, réponses par jour, confusions</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistiques</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Arrêter</translation>
    </message>
    <message>
        <source>Stop the running exercise and go back to Play notes</source>
        <translation>Arrêter l'exercice en cours et revenir à Jouer des notes</translation>
    </message>
    <message>
        <source>&amp;Listen notes</source>
        <translation>Écouter des &amp;notes</translation>
    </message>
    <message>
        <source>Listen selected notes</source>
        <translation>Écouter les notes choisies</translation>
    </message>
    <message>
        <source>Listen notes</source>
        <translation>Écouter des notes</translation>
    </message>
    <message>
        <source>&amp;Play notes</source>
        <translation>&amp;Jouer des notes</translation>
    </message>
    <message>
        <source>Play notes</source>
        <translation>Jouer des notes</translation>
    </message>
    <message>
        <source>&amp;Notes Dictation</source>
        <translation>&amp;Dictée de notes</translation>
    </message>
    <message>
        <source>Listen selected notes and place them</source>
        <translation>Écouter les notes choisies et les placer</translation>
    </message>
    <message>
        <source>Notes Dictation</source>
        <translation>Dictée de notes</translation>
    </message>
    <message>
        <source>Play in&amp;tervals</source>
        <translation>Jouer des in&amp;tervalles</translation>
    </message>
    <message>
        <source>Play selected intervals</source>
        <translation>Jouer les intervalles choisis</translation>
    </message>
    <message>
        <source>Play intervals</source>
        <translation>Jouer des intervalles</translation>
    </message>
    <message>
        <source>&amp;Interval Dictation</source>
        <translation>Dictée d'&amp;intervalles</translation>
    </message>
    <message>
        <source>Listen selected intervals and place them</source>
        <translation>Écouter les intervalles choisis et les placer</translation>
    </message>
    <message>
        <source>Interval Dictation</source>
        <translation>Dictée d'intervalles</translation>
    </message>
    <message>
        <source>Play ch&amp;ords</source>
        <translation>Jouer des acc&amp;ords</translation>
    </message>
    <message>
        <source>Play selected chords</source>
        <translation>Jouer les accords choisis</translation>
    </message>
    <message>
        <source>Play chords</source>
        <translation>Jouer des accords</translation>
    </message>
    <message>
        <source>C&amp;hords Dictation</source>
        <translation>Dictée d'accord&amp;s</translation>
    </message>
    <message>
        <source>Listen selected chords and place them</source>
        <translation>Écouter les accords choisis et les placer</translation>
    </message>
    <message>
        <source>Chords Dictation</source>
        <translation>Dictée d'accords</translation>
    </message>
    <message>
        <source>&amp;Record</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>Record the selected notes (voice or inst mode)</source>
        <translation>Enregistrer les notes choisies (mode voix ou instrument)</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Reco&amp;gnize</source>
        <translation>&amp;Reconnaître</translation>
    </message>
    <message>
        <source>Recognize on the MIDI &amp;keyboard</source>
        <translation>Reconnaître au c&amp;lavier MIDI</translation>
    </message>
    <message>
        <source>Answer Recognize by playing the notes on a MIDI keyboard instead of the microphone, in any sound mode</source>
        <translation>Répondre à Reconnaître en jouant les notes sur un clavier MIDI plutôt qu'au micro, dans tous les modes de son</translation>
    </message>
    <message>
        <source>View some scrolling notes and say (or play) them (voice or inst mode)</source>
        <translation>Voir défiler des notes et les dire (ou les jouer) (mode voix ou instrument)</translation>
    </message>
    <message>
        <source>Recognize</source>
        <translation>Reconnaître</translation>
    </message>
    <message>
        <source>User manual (&amp;English)</source>
        <translation>User manual (&amp;English)</translation>
    </message>
    <message>
        <source>Open the user manual in English</source>
        <translation>Ouvrir le manuel utilisateur en anglais</translation>
    </message>
    <message>
        <source>&amp;Manuel (français)</source>
        <translation>&amp;Manuel (français)</translation>
    </message>
    <message>
        <source>Ouvrir le manuel utilisateur en français</source>
        <translation>Ouvrir le manuel utilisateur en français</translation>
    </message>
    <message>
        <source>&amp;About ...</source>
        <translation>À &amp;propos ...</translation>
    </message>
    <message>
        <source>Display version &amp; copyright</source>
        <translation>Afficher la version et le copyright</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Game</source>
        <translation>&amp;Jeu</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
</context>
<context>
    <name>tessimo::KeyboardStatusText</name>
    <message>
        <source>No MIDI keyboard: there is no MIDI sequencer on this machine</source>
        <translation>Pas de clavier MIDI : cet ordinateur n'a pas de séquenceur MIDI</translation>
    </message>
    <message>
        <source>No MIDI keyboard: the MIDI system failed (%1)</source>
        <translation>Pas de clavier MIDI : le système MIDI a échoué (%1)</translation>
    </message>
    <message>
        <source>No MIDI keyboard connected</source>
        <translation>Aucun clavier MIDI connecté</translation>
    </message>
    <message>
        <source>Keyboards: %1 connected</source>
        <translation>Claviers connectés : %1</translation>
    </message>
    <message>
        <source>Keyboard: %1 connected</source>
        <translation>Clavier connecté : %1</translation>
    </message>
    <message>
        <source>Other programs can play into %1 (%2).</source>
        <translation>D'autres programmes peuvent jouer dans %1 (%2).</translation>
    </message>
</context>
<context>
    <name>tessimo::DisabledReasons</name>
    <message>
        <source>no note is selected: choose notes in Game &gt; Configure</source>
        <translation>aucune note n'est choisie : choisissez des notes dans Jeu &gt; Configurer</translation>
    </message>
    <message>
        <source>no note value is selected: choose note values in Game &gt; Configure</source>
        <translation>aucune durée n'est choisie : choisissez des durées dans Jeu &gt; Configurer</translation>
    </message>
    <message>
        <source>the selected note values cannot fill a bar of the chosen metre: choose shorter values in Game &gt; Configure</source>
        <translation>les durées choisies ne peuvent pas remplir une mesure : choisissez des durées plus courtes dans Jeu &gt; Configurer</translation>
    </message>
    <message>
        <source>not every selected note is recorded yet: record them first with Game &gt; Record</source>
        <translation>toutes les notes choisies ne sont pas encore enregistrées : enregistrez-les d'abord avec Jeu &gt; Enregistrer</translation>
    </message>
    <message>
        <source>it plays on the synthesizer only: choose the synthesizer sound in Game &gt; Configure</source>
        <translation>il ne joue que sur le synthétiseur : choisissez le son du synthétiseur dans Jeu &gt; Configurer</translation>
    </message>
    <message>
        <source>it listens to your voice or instrument: choose the voice or instrument sound in Game &gt; Configure</source>
        <translation>il écoute votre voix ou votre instrument : choisissez le son voix ou instrument dans Jeu &gt; Configurer</translation>
    </message>
    <message>
        <source>neither dragging with the mouse nor the wheel is allowed: allow one in Game &gt; Configure</source>
        <translation>ni le déplacement à la souris ni la molette ne sont permis : permettez l'un des deux dans Jeu &gt; Configurer</translation>
    </message>
    <message>
        <source>no direction (together, up or down) is selected in Game &gt; Configure</source>
        <translation>aucun sens (ensemble, montant ou descendant) n'est choisi dans Jeu &gt; Configurer</translation>
    </message>
    <message>
        <source>no selected interval size fits the selected notes: choose more in Game &gt; Configure</source>
        <translation>aucun intervalle choisi ne tient dans les notes choisies : choisissez-en d'autres dans Jeu &gt; Configurer</translation>
    </message>
    <message>
        <source>no selected chord type fits the selected notes: choose more in Game &gt; Configure</source>
        <translation>aucun accord choisi ne tient dans les notes choisies : choisissez-en d'autres dans Jeu &gt; Configurer</translation>
    </message>
</context>
<context>
    <name>tessimo::ScorePanel</name>
    <message>
        <source>Unkwn %1/%2</source>
        <translation>Oublis %1/%2</translation>
    </message>
    <message>
        <source>Errors %1/%2</source>
        <translation>Erreurs %1/%2</translation>
    </message>
    <message>
        <source>OK %1</source>
        <translation>OK %1</translation>
    </message>
</context>
<context>
    <name>tessimo::UserManual</name>
    <message>
        <source>The user manual %1 is not installed.</source>
        <translation>Le manuel utilisateur %1 n'est pas installé.</translation>
    </message>
    <message>
        <source>No web browser could be started to show the manual; open %1 by hand.</source>
        <translation>Aucun navigateur n'a pu être lancé pour afficher le manuel ; ouvrez %1 vous-même.</translation>
    </message>
</context>
<context>
    <name>tessimo::StatisticsWindow</name>
    <message>
        <source>All exercises</source>
        <translation>Tous les exercices</translation>
    </message>
    <message>
        <source>Notes Dictation</source>
        <translation>Dictée de notes</translation>
    </message>
    <message>
        <source>Interval Dictation</source>
        <translation>Dictée d'intervalles</translation>
    </message>
    <message>
        <source>Chords Dictation</source>
        <translation>Dictée d'accords</translation>
    </message>
    <message>
        <source>Recognize</source>
        <translation>Reconnaître</translation>
    </message>
    <message>
        <source>Any answer input</source>
        <translation>Toute façon de répondre</translation>
    </message>
    <message>
        <source>Mouse</source>
        <translation>Souris</translation>
    </message>
    <message>
        <source>Voice</source>
        <translation>Voix</translation>
    </message>
    <message>
        <source>Instrument</source>
        <translation>Instrument</translation>
    </message>
    <message>
        <source>MIDI keyboard</source>
        <translation>Clavier MIDI</translation>
    </message>
    <message>
        <source>Last 7 days</source>
        <translation>7 derniers jours</translation>
    </message>
    <message>
        <source>Last 4 weeks</source>
        <translation>4 dernières semaines</translation>
    </message>
    <message>
        <source>Last 13 weeks</source>
        <translation>13 dernières semaines</translation>
    </message>
    <message>
        <source>Last 52 weeks</source>
        <translation>52 dernières semaines</translation>
    </message>
    <message>
        <source>All time</source>
        <translation>Depuis le début</translation>
    </message>
    <message>
        <source>Accuracy per note</source>
        <translation>Justesse par note</translation>
    </message>
    <message>
        <source>Median answer time per note</source>
        <translation>Temps de réponse médian par note</translation>
    </message>
    <message>
        <source>Export CSV ...</source>
        <translation>Exporter en CSV ...</translation>
    </message>
    <message>
        <source>Most frequent confusions</source>
        <translation>Confusions les plus fréquentes</translation>
    </message>
    <message>
        <source>Times</source>
        <translation>Fois</translation>
    </message>
    <message>
        <source>Ask my weak notes more often (Notes Dictation, Recognize)</source>
        <translation>Me demander plus souvent mes notes faibles (Dictée de notes, Reconnaître)</translation>
    </message>
    <message>
        <source>Questions still come only from the notes selected in Configure; the notes often missed lately are asked more often.</source>
        <translation>Les questions ne portent toujours que sur les notes choisies dans Configurer ; les notes souvent manquées ces derniers temps reviennent plus souvent.</translation>
    </message>
    <message>
        <source>default user</source>
        <translation>utilisateur par défaut</translation>
    </message>
    <message>
        <source>Statistics — %1</source>
        <translation>Statistiques — %1</translation>
    </message>
    <message>
        <source>This user's name allows no history file.</source>
        <translation>Le nom de cet utilisateur ne permet pas de fichier d'historique.</translation>
    </message>
    <message>
        <source>No answers kept yet. The history will be kept in %1.</source>
        <translation>Aucune réponse gardée pour l'instant. L'historique sera gardé dans %1.</translation>
    </message>
    <message>
        <source>%1 answers on %2 of the last %3 days, %4 % right; the heat map counts %5 single-note answers. History: %6</source>
        <translation>%1 réponses sur %2 des %3 derniers jours, %4 % justes ; la carte compte %5 réponses de notes seules. Historique : %6</translation>
    </message>
    <message>
        <source>There is no history to export.</source>
        <translation>Il n'y a pas d'historique à exporter.</translation>
    </message>
    <message>
        <source>The history could not be read.</source>
        <translation>L'historique n'a pas pu être lu.</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 n'a pas pu être écrit : %2</translation>
    </message>
    <message>
        <source>Export the answers</source>
        <translation>Exporter les réponses</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>Fichiers CSV (*.csv);;Tous les fichiers (*)</translation>
    </message>
</context>
<context>
    <name>tessimo::HeatMapWidget</name>
    <message>
        <source>No single-note answers for these filters yet.</source>
        <translation>Pas encore de réponse de notes seules pour ces filtres.</translation>
    </message>
</context>
<context>
    <name>tessimo::DailyChartWidget</name>
    <message>
        <source>Answers per day (bars) and share right (line)</source>
        <translation>Réponses par jour (barres) et part de justes (ligne)</translation>
    </message>
    <message>
        <source>No answers in this period.</source>
        <translation>Aucune réponse sur cette période.</translation>
    </message>
    <message>
        <source>%1: no practice</source>
        <translation>%1 : pas d'exercice</translation>
    </message>
    <message>
        <source>%1: %2 answers, %3 % right</source>
        <translation>%1 : %2 réponses, %3 % justes</translation>
    </message>
</context>
<context>
    <name>tessimo::SoundSetupDialog</name>
    <message>
        <source>Sound set-up</source>
        <translation>Réglage du son</translation>
    </message>
    <message>
        <source>Sound output</source>
        <translation>Sortie son</translation>
    </message>
    <message>
        <source>&amp;Device:</source>
        <translation>&amp;Appareil :</translation>
    </message>
    <message>
        <source>&amp;Volume:</source>
        <translation>&amp;Volume :</translation>
    </message>
    <message>
        <source>Play a &amp;test sound</source>
        <translation>Jouer un son d'&amp;essai</translation>
    </message>
    <message>
        <source>Microphone</source>
        <translation>Micro</translation>
    </message>
    <message>
        <source>D&amp;evice:</source>
        <translation>App&amp;areil :</translation>
    </message>
    <message>
        <source>Level:</source>
        <translation>Niveau :</translation>
    </message>
    <message>
        <source>Too loud: the input clips. Lower the microphone's gain.</source>
        <translation>Trop fort : l'entrée sature. Baissez le gain du micro.</translation>
    </message>
    <message>
        <source>Test my &amp;voice</source>
        <translation>Tester ma &amp;voix</translation>
    </message>
    <message>
        <source>Press the button, then say one note name.</source>
        <translation>Appuyez sur le bouton, puis dites un nom de note.</translation>
    </message>
    <message>
        <source>System default</source>
        <translation>Par défaut du système</translation>
    </message>
    <message>
        <source>%1 (not connected)</source>
        <translation>%1 (non branché)</translation>
    </message>
    <message>
        <source>Switching the sound output …</source>
        <translation>Changement de sortie son …</translation>
    </message>
    <message>
        <source>The sound plays on the system's default device.</source>
        <translation>Le son sort sur l'appareil par défaut du système.</translation>
    </message>
    <message>
        <source>The sound plays on %1.</source>
        <translation>Le son sort sur %1.</translation>
    </message>
    <message>
        <source>%1: %2; the microphone stays on %3.</source>
        <translation>%1 : %2 ; le micro reste %3.</translation>
    </message>
    <message>
        <source>the system's default</source>
        <translation>celui par défaut du système</translation>
    </message>
    <message>
        <source>The microphone is the system's default input.</source>
        <translation>Le micro est l'entrée par défaut du système.</translation>
    </message>
    <message>
        <source>The microphone is %1.</source>
        <translation>Le micro est %1.</translation>
    </message>
    <message>
        <source>Noise floor %1, voice %2, margin %3: %4.</source>
        <translation>Bruit de fond %1, voix %2, écart %3 : %4.</translation>
    </message>
    <message>
        <source>The voice clipped: speak further from the microphone.</source>
        <translation>La voix a saturé : parlez plus loin du micro.</translation>
    </message>
    <message>
        <source>Listening: say one note name now …</source>
        <translation>À l'écoute : dites un nom de note maintenant …</translation>
    </message>
    <message>
        <source>The test sound could not be played: the sound output is not ready.</source>
        <translation>Le son d'essai n'a pas pu être joué : la sortie son n'est pas prête.</translation>
    </message>
    <message>
        <source>Output latency: unknown</source>
        <translation>Latence de sortie : inconnue</translation>
    </message>
    <message>
        <source>Output latency: %1 ms (as the device reports it)</source>
        <translation>Latence de sortie : %1 ms (selon l'appareil)</translation>
    </message>
    <message>
        <source>good</source>
        <translation>bon</translation>
    </message>
    <message>
        <source>too quiet</source>
        <translation>trop faible</translation>
    </message>
    <message>
        <source>too noisy for voice answers</source>
        <translation>trop bruyant pour répondre à la voix</translation>
    </message>
    <message>
        <source>nothing heard</source>
        <translation>rien entendu</translation>
    </message>
</context>
</TS>