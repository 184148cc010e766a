// The batch calculator as a user runs it.
#include "core/batch/BatchFixture.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace camini;
using namespace camini::test;
using camini::test::runCommand;
using camini::test::shellQuote;

TEST(CalcCli, PrintsTheReportOfTheExampleProject) {
    auto r = runCommand(calc());
    ASSERT_EQ(r.status, 0) << r.err;
    auto l = textLines(r.out);
    ASSERT_EQ(l.size(), 34u);
    EXPECT_EQ(l[0].rfind("titolo progetto=esempio 1 ", 0), 0u);
    EXPECT_EQ(l[2], "temperatura fumi[\u00b0C]" + std::string(14, ' ') + "250");
    EXPECT_EQ(l[15].size(), 105u); // 104 characters, the degree sign in two bytes
    EXPECT_EQ(l[31], "conducibilit\xC3\xA0 termica in W/m K");
    EXPECT_EQ(r.out.find('\r'), std::string::npos);
}

TEST(CalcCli, ProjectFlagsAndRtf) {
    test::TempDir dir;
    test::writeFile(
        dir.file("p.CAM"),
        "prova\r\n300\r\n20\r\n150\r\n15\r\n8\r\n50\r\n20\r\n20\r\n20\r\n10\r\n100\r\n85\r\n"
        "quad\r\n 5\r\n 1\r\n 1\r\n 9\r\n");
    auto r = runCommand(calc() + " --single-wall --raise-diameter --rtf " +
                        shellQuote(dir.file("out.rtf")) + " " + shellQuote(dir.file("p.CAM")));
    ASSERT_EQ(r.status, 0) << r.err;
    auto l = textLines(r.out);
    EXPECT_EQ(l[0].rfind("titolo progetto=prova ", 0), 0u);
    EXPECT_EQ(l[7],
              "spessore isolante[mm]" + std::string(13, ' ') + "50"); // the text stays as loaded
    EXPECT_EQ(l[15], "N.B.  il diametro interno <200 mm viene portato a 200 mm");
    EXPECT_EQ(l[18], "isolante" + std::string(96, ' '));
    const std::string rtf = test::readFile(dir.file("out.rtf"));
    EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(rtf.find("titolo progetto=prova"), std::string::npos);
}

TEST(CalcCli, ExitStatusesAndMessages) {
    test::TempDir dir;
    test::writeFile(dir.file("zero.cam"), "zero\r\n250\r\n20\r\n130\r\n15\r\n0\r\n");
    test::writeFile(
        dir.file("mat.cam"),
        "mat\r\n250\r\n20\r\n130\r\n15\r\n8\r\n40\r\n20\r\n20\r\n20\r\n10\r\n100\r\n85\r\n"
        "rot\r\n 5\r\n200\r\n 1\r\n 9\r\n");
    struct Case {
        std::string args;
        int status;
        const char* inErr; // expected in standard error
        bool printsReport;
    };
    const Case cases[] = {
        {"--help", 0, "", false},
        {"--bogus", 2, "--bogus", false},
        {"--rtf", 2, "--rtf", false},
        {"a.cam b.cam", 2, "un solo progetto", false},
        {shellQuote(dir.file("manca.cam")), 1, "File not found", false},
        {"--data-dir " + shellQuote(dir.path()), 1, "materiali.TXT", false},
        {shellQuote(dir.file("zero.cam")), 3, "calcolo interrotto", false},
        {shellQuote(dir.file("mat.cam")), 0, "asola tecnica", true},
        {"--rtf " + shellQuote(dir.path()), 1, "Is a directory", true},
    };
    for (const Case& c : cases) {
        auto r = runCommand(calc() + " " + c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.inErr), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_EQ(r.out.rfind("titolo progetto=", 0) == 0, c.printsReport) << c.args;
        if (c.status == 3) {
            EXPECT_TRUE(r.out.empty());
        }
    }
}

TEST(CalcCli, GraphsAsSvgAfterTheReport) {
    test::TempDir dir;
    const auto plain = runCommand(calc());
    auto r = runCommand(calc() + " --svg " + shellQuote(dir.file("profilo.svg")) +
                        " --lambda-svg 7 " + shellQuote(dir.file("lambda.svg")));
    ASSERT_EQ(r.status, 0) << r.err;
    // The conductivity graph makes material 7 the insulation material, but
    // only after the report was printed.
    auto strip = [](const std::string& out) { return out.substr(out.find('\n')); }; // no date line
    EXPECT_EQ(strip(r.out), strip(plain.out));
    for (const char* name : {"profilo.svg", "lambda.svg"}) {
        const std::string svg = test::readFile(dir.file(name));
        EXPECT_NE(svg.find("<svg"), std::string::npos) << name;
        EXPECT_NE(svg.find("width=\"1024\""), std::string::npos) << name;
        if (std::system("command -v rsvg-convert >/dev/null 2>&1") == 0) {
            auto png = runCommand("rsvg-convert " + shellQuote(dir.file(name)) + " -o " +
                                  shellQuote(dir.file(std::string(name) + ".png")));
            EXPECT_EQ(png.status, 0) << png.err;
        }
    }
    EXPECT_NE(test::readFile(dir.file("profilo.svg")).find("isolante"), std::string::npos);
}

// An ambient of -0.03 degrees: the outer air's temperature, -0.0 with one
// decimal and -0 with none, keeps its sign in the report, the RTF document
// and the profile graph.
TEST(CalcCli, ATemperatureJustBelowZeroKeepsItsSign) {
    test::TempDir dir;
    test::writeFile(dir.file("p.CAM"), exampleProject(1, "-0.03"));
    auto r = runCommand(calc() + " --rtf " + shellQuote(dir.file("p.rtf")) + " --svg " +
                        shellQuote(dir.file("p.svg")) + " " + shellQuote(dir.file("p.CAM")));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string outer = "strato liminare esterno" + std::string(22, ' ') +
                              "0.04643      -0.0" + std::string(6, ' ') + "14.6" +
                              std::string(17, ' ') + "350" + std::string(12, ' ');
    const auto l = textLines(r.out);
    ASSERT_GT(l.size(), 22u);
    EXPECT_EQ(l[22], outer);
    EXPECT_NE(test::readFile(dir.file("p.rtf")).find(outer + "\\par"), std::string::npos);
    EXPECT_NE(test::readFile(dir.file("p.svg")).find(">   -0</text>"), std::string::npos);
}

TEST(CalcCli, LambdaSvgOfAOnePointMaterialAndBadNumbers) {
    test::TempDir dir;
    // No curve to draw: the message, no file and exit status 3.
    auto r = runCommand(calc() + " --lambda-svg 13 " + shellQuote(dir.file("l.svg")));
    EXPECT_EQ(r.status, 3);
    EXPECT_FALSE(std::filesystem::exists(dir.file("l.svg")));
    EXPECT_NE(r.err.find("con un solo punto in archivio non \xC3\xA8 possibile il grafico!"),
              std::string::npos)
        << r.err;
    for (const char* bad : {"0", "101", "x", "2.5"}) {
        auto b = runCommand(calc() + " --lambda-svg " + bad + " " + shellQuote(dir.file("b.svg")));
        EXPECT_EQ(b.status, 2) << bad;
    }
    EXPECT_EQ(runCommand(calc() + " --svg").status, 2);
}

// A failed write on standard output is reported; /dev/stdout and a pipe
// of the shell are files like any other.
TEST(CalcCli, WritesOnStandardOutput) {
    test::TempDir dir;
    // A full disk and a closed pipe (SIGPIPE ignored) on standard output.
    auto full = runCommand("(" + calc() + " >/dev/full)");
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "camini-calc: Disk full: uscita standard\n");
    auto closed =
        runCommand("bash -c " + shellQuote("trap '' PIPE; " + calc() +
                                           " --sweep spessore-isolante=0:99.9:0.1 | head -c 5 "
                                           ">/dev/null; exit ${PIPESTATUS[0]}"));
    EXPECT_EQ(closed.status, 1);
    EXPECT_EQ(closed.err, "camini-calc: Broken pipe: uscita standard\n");

    // /dev/stdout appended to a log keeps its lines; a pipe of the shell
    // takes the document.
    test::writeFile(dir.file("log"), "earlier\n");
    auto appended =
        runCommand("(" + calc() + " --json /dev/stdout >>" + shellQuote(dir.file("log")) + ")");
    EXPECT_EQ(appended.status, 0) << appended.err;
    const std::string log = test::readFile(dir.file("log"));
    EXPECT_EQ(log.rfind("earlier\ntitolo progetto=esempio 1 ", 0), 0u);
    EXPECT_NE(log.find("\"heatFlux\""), std::string::npos);
    auto piped = runCommand("bash -c " +
                            shellQuote(calc() + " --json >(cat >" + shellQuote(dir.file("piped")) +
                                       ") >/dev/null; wait $!"));
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(test::readFile(dir.file("piped")).rfind("{", 0), 0u);
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.file("log")));
}

// The command line by the conventions: "--option=VALUE" as "--option
// VALUE", "--" before a project whose name begins with "-", and a usage
// error on one line with a pointer to --help on the next. "-" names standard
// output for every output (one at a time, and the report is then not
// printed) and standard input for the project; empty names are usage errors.
TEST(CalcCli, OptionsWithEqualsTheEndOfOptionsAndShortUsageErrors) {
    test::TempDir dir;
    // The example under another title, not to be taken for the example itself.
    test::writeFile(dir.file("-meno.CAM"), "meno" + exampleProject(3, "15").substr(9));
    const std::string in = "cd " + shellQuote(dir.path()) + " && ";
    const std::string pointer = "Prova 'camini-calc --help' per maggiori informazioni.\n";
    const std::string example = shellQuote(sourceDir() + "/fuzz/corpus/project/example.CAM");
    const std::string tooLarge =
        "camini-calc: File too large (line 1 does not end within 1048576 bytes): ";
    struct Case {
        std::string args;
        int status;
        std::string outStart;
        std::string err; // the whole of standard error
    };
    const Case cases[] = {
        {"--rtf -", 0, "{\\rtf1", ""},
        {"--svg -", 0, "<?xml", ""},
        {"--lambda-svg 7 -", 0, "<?xml", ""},
        {"--pdf -", 0, "%PDF-", ""},
        {"--json -", 0, "{", ""},
        {"--sweep spessore-isolante=20:30:10 --json -", 0, "{", ""},
        {"- < " + example, 0, "titolo progetto=esempio 1 ", ""},
        {"--json=- --single-wall", 0, "{", ""},
        {"--sweep=0=250:300:50 --csv-it", 0, "\xEF\xBB\xBFtemperatura-fumi [\u00b0C];", ""},
        {"--lambda-svg=7 - ", 0, "<?xml", ""},
        {"--min-thickness=5 --flue=500", 0, "spessore isolante[mm]=21 ", ""},
        {"-- -meno.CAM", 0, "titolo progetto=meno ", ""},
        {"--json - --json=- --rtf=-", 2, "",
         "camini-calc: una sola uscita alla volta su - (l'uscita standard)\n" + pointer},
        {"--bogus", 2, "", "camini-calc: opzione sconosciuta: --bogus\n" + pointer},
        {"-meno.CAM", 2, "", "camini-calc: opzione sconosciuta: -meno.CAM\n" + pointer},
        {"a.CAM -- b.CAM", 2, "", "camini-calc: un solo progetto alla volta\n" + pointer},
        {"--json=", 2, "", "camini-calc: un nome di file vuoto\n" + pointer},
        {"--json ''", 2, "", "camini-calc: un nome di file vuoto\n" + pointer},
        {"''", 2, "", "camini-calc: un nome di file vuoto\n" + pointer},
        {"--data-dir ''", 2, "",
         "camini-calc: un nome di cartella vuoto dopo --data-dir\n" + pointer},
        {"/dev/zero", 1, "", tooLarge + "/dev/zero\n"},
        {"- < /dev/zero", 1, "", tooLarge + "ingresso standard\n"},
        {"--sweep= x", 2, "", "camini-calc: manca RIGA=DA:A:PASSO dopo --sweep\n" + pointer},
        {"--pdf", 2, "", "camini-calc: manca il file dopo --pdf\n" + pointer},
        {"--lambda-svg 7", 2, "",
         "camini-calc: --lambda-svg vuole il numero del materiale e il file\n" + pointer},
        {"--single-wall=forse", 2, "",
         "camini-calc: valore non valido per --single-wall\n" + pointer},
        {"--csv-it", 2, "", "camini-calc: --csv-it vale solo con --sweep\n" + pointer},
        {"--sweep 5=0:1:1 --csv-it --json -", 2, "",
         "camini-calc: --csv-it e --json non vanno insieme\n" + pointer},
        {"--flue=x --min-thickness 5", 2, "",
         "camini-calc: temperatura non valida dopo --flue: x\n" + pointer},
    };
    for (const Case& c : cases) {
        const auto r = runCommand(in + calc() + " " + c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_EQ(r.out.substr(0, c.outStart.size()), c.outStart) << c.args;
        EXPECT_EQ(r.out.empty(), c.outStart.empty()) << c.args;
        EXPECT_EQ(r.err, c.err) << c.args;
    }
    // The same document either way.
    const auto spaced = runCommand(calc() + " --json " + shellQuote(dir.file("a.json")));
    const auto joined = runCommand(calc() + " --json=" + shellQuote(dir.file("b.json")));
    ASSERT_EQ(spaced.status + joined.status, 0);
    EXPECT_EQ(test::readFile(dir.file("a.json")), test::readFile(dir.file("b.json")));
}
