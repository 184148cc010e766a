#include "CalcOptions.h"

#include "common/NumberReader.h"
#include "common/SafeReplace.h"
#include "materials/MaterialArchive.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>
#include <map>

namespace camini {

namespace {

const char* const usageHead =
    "Uso: camini-calc [opzioni] [--] [PROGETTO.CAM]\n"
    "  o: camini-calc [opzioni] --sweep RIGA=DA:A:PASSO [--csv-it | --json FILE] [PROGETTO.CAM]\n"
    "  o: camini-calc [opzioni] --min-thickness RIGA --flue T [--json FILE] [PROGETTO.CAM]\n"
    "  o: camini-calc --help | --version\n"
    "\n"
    "Calcola la parete del camino del progetto di esempio, o di PROGETTO.CAM\n"
    "caricato sopra di esso, e stampa la relazione dei risultati.\n"
    "\n"
    "  --data-dir CARTELLA  cartella di materiali.TXT (di norma quella del programma;\n"
    "                       installato, l'archivio dell'utente se c'\xC3\xA8, se no quello\n"
    "                       fornito)\n"
    "  --single-wall        spunta \"Monoparete\" prima di caricare il progetto\n"
    "  --raise-diameter     spunta \"D>=200\" prima di caricare il progetto\n"
    "  --rtf FILE           scrive anche la relazione in formato RTF in FILE\n"
    "  --svg FILE           scrive il grafico del profilo di temperatura in SVG\n"
    "  --lambda-svg N FILE  scrive il grafico della conducibilit\xC3\xA0 del materiale N in SVG\n"
    "                       (nessun file, e uscita 3, per un materiale senza grafico)\n"
    "  --pdf FILE           scrive la relazione e il grafico del profilo di temperatura\n"
    "                       in PDF su pagine A4 (la relazione in verticale, il grafico\n"
    "                       in orizzontale)\n"
    "  --json FILE          scrive il calcolo in JSON in FILE, anche quello interrotto\n"
    "                       (col suo messaggio); con --sweep la serie, con\n"
    "                       --min-thickness la ricerca\n"
    "  --sweep RIGA=DA:A:PASSO\n"
    "                       esegue \"Calcola\" per ogni valore della riga da DA ad A con\n"
    "                       passo PASSO, sullo stesso foglio come chi scrive ogni valore\n"
    "                       e preme \"Calcola\", e stampa una tabella CSV (con --json un\n"
    "                       documento JSON), ogni riga appena calcolata; un calcolo\n"
    "                       interrotto lascia vuoti i numeri della sua riga e ne d\xC3\xA0 il\n"
    "                       messaggio nell'ultima colonna\n"
    "  --csv-it             la tabella di --sweep per i fogli di calcolo italiani: \";\"\n"
    "                       fra i campi, virgola decimale, UTF-8 con BOM, righe CR LF\n"
    "  --min-thickness RIGA --flue T\n"
    "                       il minimo spessore intero in mm (0..1000) della riga RIGA\n"
    "                       (5..9) per cui la temperatura (est) \xC3\xA8 almeno T, per\n"
    "                       bisezione; ogni prova calcola su una copia del foglio come\n"
    "                       \xC3\xA8 stato caricato, e il risultato non dipende dall'ordine\n"
    "                       delle prove\n"
    "  --help               mostra questo aiuto\n"
    "  --version            mostra il nome e la versione del programma\n"
    "\n"
    "--opzione=VALORE vale come --opzione VALORE; -- termina le opzioni (un\n"
    "progetto il cui nome comincia con - va dopo --). FILE - scrive sull'uscita\n"
    "standard (una sola uscita per volta, e la relazione allora non viene\n"
    "stampata); PROGETTO.CAM - legge il progetto dall'ingresso standard.\n"
    "\n"
    "Con SOURCE_DATE_EPOCH (secondi dal 1970-01-01 00:00:00 UTC) la relazione, il\n"
    "documento RTF e il PDF portano quella data e ora, in UTC, al posto di quelle\n"
    "attuali: due esecuzioni danno gli stessi byte.\n"
    "\n"
    "Il calcolo si interrompe per un valore senza significato fisico: una\n"
    "temperatura sotto -273.15 \xC2\xB0"
    "C, un diametro o un coefficiente liminare non\n"
    "maggiore di 0, uno spessore negativo, una conducibilit\xC3\xA0 non maggiore di 0 in\n"
    "uno strato di spessore non nullo. Una ricerca che non raggiunge il valore\n"
    "imposto nel suo intervallo scrive \"oltre 1800\xC2\xB0"
    "C\" (\"oltre 3500\xC2\xB0"
    "C\") o\n"
    "\"sotto 0\xC2\xB0"
    "C\"; un numero pi\xC3\xB9 lungo della sua colonna della relazione \xC3\xA8\n"
    "scritto come una fila di *.\n"
    "\n"
    "RIGA: il numero della riga di ingresso (0..11) o la sua chiave:\n";

const char* const usageTail =
    "\n"
    "Uscita: 0 riuscito, 1 file non leggibile o non scrivibile, 2 uso errato,\n"
    "3 calcolo interrotto (con --sweep almeno un valore, dopo tutte le righe) o\n"
    "grafico di --lambda-svg impossibile,\n"
    "4 nessuno spessore fino a 1000 mm raggiunge T.\n"
    "\n"
    "Esempi (il progetto di esempio):\n"
    "  camini-calc --sweep spessore-isolante=20:100:5 --csv-it > isolante.csv\n"
    "  camini-calc --json=calcolo.json --svg=profilo.svg\n"
    "  SOURCE_DATE_EPOCH=0 camini-calc --pdf relazione.pdf > relazione.txt\n"
    "  camini-calc --min-thickness spessore-isolante --flue 500 --json -\n";

// What to say for an option given without its value.
const std::map<std::string, std::string>& missingValueTexts() {
    static const std::map<std::string, std::string> texts = {
        {"--data-dir", "manca la cartella dopo --data-dir"},
        {"--rtf", "manca il file dopo --rtf"},
        {"--svg", "manca il file dopo --svg"},
        {"--pdf", "manca il file dopo --pdf"},
        {"--json", "manca il file dopo --json"},
        {"--lambda-svg", "--lambda-svg vuole il numero del materiale e il file"},
        {"--sweep", "manca RIGA=DA:A:PASSO dopo --sweep"},
        {"--min-thickness", "manca la riga dopo --min-thickness"},
        {"--flue", "manca la temperatura dopo --flue"},
    };
    return texts;
}

// The option a message of the parser names: its first word that begins
// with "--".
std::string optionNamed(const std::string& text) {
    const auto start = text.find("--");
    if (start == std::string::npos)
        return {};
    const auto end = text.find_first_of(" :=", start);
    return text.substr(start, end == std::string::npos ? end : end - start);
}

// The parser's complaint in the program's words.
std::string usageError(const CLI::ParseError& e) {
    const std::string option = optionNamed(e.what());
    const auto& texts = missingValueTexts();
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&e))
        if (const auto it = texts.find(option); it != texts.end())
            return it->second;
    if (!option.empty())
        return "valore non valido per " + option;
    return "riga di comando non valida";
}

// An option written "--option=" with nothing after the "=" (before "--"):
// the parser would take the next word as its value.
std::optional<std::string> emptyAttachedValue(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--")
            return std::nullopt;
        if (a.size() < 4 || a.rfind("--", 0) != 0 || a.back() != '=' || a.find('=') != a.size() - 1)
            continue;
        const std::string option = a.substr(0, a.size() - 1);
        if (option == "--data-dir")
            return "un nome di cartella vuoto dopo --data-dir";
        if (option == "--rtf" || option == "--svg" || option == "--pdf" || option == "--json")
            return "un nome di file vuoto";
        const auto& texts = missingValueTexts();
        const auto it = texts.find(option);
        return it != texts.end() ? it->second : "opzione sconosciuta: " + a;
    }
    return std::nullopt;
}

// The words the parser did not take: an unknown option (before "--"), or
// a second project.
std::optional<std::string> extraWords(const std::vector<std::string>& remaining) {
    bool afterEnd = false;
    for (const std::string& word : remaining) {
        if (word == "--" && !afterEnd) {
            afterEnd = true;
            continue;
        }
        if (!afterEnd && word.size() > 1 && word[0] == '-')
            return "opzione sconosciuta: " + word;
        return std::string("un solo progetto alla volta");
    }
    return std::nullopt;
}

// The words of the command line as the parser left them.
struct Words {
    bool help = false;
    bool version = false;
    std::string dataDir, rtf, svg, pdf, json, sweep, minThickness, flue, project;
    std::vector<std::string> lambdaSvg;
};

// Reads the words' values into the options; what is wrong, if anything.
std::optional<std::string> readValues(const CLI::App& app, const Words& w, CalcOptions& o) {
    auto given = [&](const char* name) { return app.count(name) > 0; };
    if (given("--data-dir")) {
        if (w.dataDir.empty())
            return "un nome di cartella vuoto dopo --data-dir";
        o.dataDir = w.dataDir;
    }
    const std::pair<const char*, std::pair<const std::string*, std::optional<PathBytes>*>> files[] =
        {{"--rtf", {&w.rtf, &o.rtf}},
         {"--svg", {&w.svg, &o.svg}},
         {"--pdf", {&w.pdf, &o.pdf}},
         {"--json", {&w.json, &o.json}}};
    for (const auto& [name, value] : files)
        if (given(name))
            *value.second = *value.first;
    if (given("progetto"))
        o.project = w.project;
    if (given("--lambda-svg")) {
        if (w.lambdaSvg.size() != 2)
            return missingValueTexts().at("--lambda-svg");
        const auto m = readNumberStrict(w.lambdaSvg.at(0));
        if (!m || *m != static_cast<int>(*m) || *m < 1 || *m > MaxMaterials)
            return "numero di materiale non valido (1..100): " + w.lambdaSvg[0];
        o.lambdaSvg = std::make_pair(static_cast<int>(*m), w.lambdaSvg.at(1));
    }
    if (given("--sweep")) {
        try {
            o.sweep = parseSweep(w.sweep);
        } catch (const BadArgument& e) {
            return std::string(e.what());
        }
    }
    if (given("--min-thickness")) {
        const auto row = findInputRow(w.minThickness);
        if (!row || !isThicknessRow(*row))
            return "--min-thickness vuole una riga di spessore (5..9 o la sua chiave): " +
                   w.minThickness;
        o.minThicknessRow = row;
    }
    if (given("--flue")) {
        const auto v = readNumberStrict(w.flue);
        if (!v || !std::isfinite(*v))
            return "temperatura non valida dopo --flue: " + w.flue;
        o.flue = *v;
    }
    return std::nullopt;
}

// The options that do not go together.
std::optional<std::string> combinationError(const CalcOptions& o) {
    const auto outputs = o.outputs();
    if (std::count(outputs.begin(), outputs.end(), std::string(StandardStreamPath)) > 1)
        return "una sola uscita alla volta su - (l'uscita standard)";
    if (std::count(outputs.begin(), outputs.end(), std::string()) > 0 ||
        (o.project && o.project->empty()))
        return "un nome di file vuoto";
    if (o.minThicknessRow.has_value() != o.flue.has_value())
        return "--min-thickness e --flue vanno insieme";
    if (o.sweep && o.minThicknessRow)
        return "--sweep e --min-thickness non vanno insieme";
    if ((o.sweep || o.minThicknessRow) && (o.rtf || o.svg || o.lambdaSvg || o.pdf))
        return "--rtf, --svg, --lambda-svg e --pdf valgono per un calcolo solo";
    if (o.italianCsv && !o.sweep)
        return "--csv-it vale solo con --sweep";
    if (o.italianCsv && o.json)
        return "--csv-it e --json non vanno insieme";
    return std::nullopt;
}

void declare(CLI::App& app, Words& w, CalcOptions& o) {
    app.set_help_flag();
    app.allow_extras();
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_flag("-h,--help", w.help);
    app.add_flag("--version", w.version);
    app.add_option("--data-dir", w.dataDir);
    app.add_flag("--single-wall", o.singleWall);
    app.add_flag("--raise-diameter", o.raiseDiameter);
    app.add_flag("--csv-it", o.italianCsv);
    app.add_option("--rtf", w.rtf);
    app.add_option("--svg", w.svg);
    app.add_option("--lambda-svg", w.lambdaSvg)->expected(2);
    app.add_option("--pdf", w.pdf);
    app.add_option("--json", w.json);
    app.add_option("--sweep", w.sweep);
    app.add_option("--min-thickness", w.minThickness);
    app.add_option("--flue", w.flue);
    app.add_option("progetto", w.project);
}

} // namespace

std::vector<PathBytes> CalcOptions::outputs() const {
    std::vector<PathBytes> files;
    for (const auto* f : {&rtf, &svg, &json, &pdf})
        if (*f)
            files.push_back(**f);
    if (lambdaSvg)
        files.push_back(lambdaSvg->second);
    return files;
}

bool CalcOptions::outputToStandardOutput() const {
    const auto files = outputs();
    return std::find(files.begin(), files.end(), std::string(StandardStreamPath)) != files.end();
}

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    if ((line.error = emptyAttachedValue(argc, argv)))
        return line;
    CLI::App app{"", "camini-calc"};
    Words words;
    declare(app, words, line.options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        line.error = usageError(e);
        return line;
    }
    if (words.help || words.version) {
        line.options.request =
            words.help ? CalcOptions::Request::Help : CalcOptions::Request::Version;
        return line;
    }
    if ((line.error = extraWords(app.remaining())))
        return line;
    if ((line.error = readValues(app, words, line.options)))
        return line;
    line.error = combinationError(line.options);
    return line;
}

std::string usage() {
    std::string u = usageHead;
    for (const InputRowSpec& spec : inputRowTable) {
        const std::string n = std::to_string(static_cast<int>(spec.row));
        std::string line = std::string(4 - n.size(), ' ') + n + "  " + spec.key;
        line.append(line.size() < 30 ? 30 - line.size() : 1, ' ');
        u += line + toUtf8(spec.label) + "\n";
    }
    return u + usageTail;
}

} // namespace camini
