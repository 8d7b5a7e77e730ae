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
</TS>