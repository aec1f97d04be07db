// Fuzz target: the answer forms of every command. Whatever the line, the table must agree with itself: a
// line that is another command's answer to one command is some command's own answer, and a line that no
// command names is foreign to none.
//
// Input layout: the reply bytes, cut into lines as the window cuts them.
#include "fuzzSupport.h"
#include "sensor/replyFormat.h"

#include <array>
#include <cstdlib>

using namespace sensor_n;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize)
{
    for (const QString& strLine : replyLines(fuzz_n::bytes(p_pData, p_nSize)))
    {
        // Every command from one below the enum to one above it.
        answerKind_t anKinds[25];
        const answerNames_t names = namesOf(strLine);
        bool bForeignToSome = false;
        bool bOwnOfSome = false;
        for (int nCommand = -1; nCommand <= 23; ++nCommand)
        {
            const auto nRunning = static_cast<command_t>(nCommand);
            const answer_t answer = answerTo(nRunning, strLine, names);
            anKinds[nCommand + 1] = answer.nKind;
            bForeignToSome = bForeignToSome || answer.nKind == answerKind_t::Foreign;
            bOwnOfSome =
                bOwnOfSome || answer.nKind == answerKind_t::Final || answer.nKind == answerKind_t::Progress;
            // Only an answer carries a text, and only the enrolment counts its steps.
            if ((answer.nKind != answerKind_t::Final && !answer.strText.isEmpty()) ||
                (answer.nStep != 0 && nRunning != command_t::EnrollDupFP))
                std::abort();
        }
        // Commands with the same forms read a line alike: each as the first command with its forms.
        static const auto s_anSame = []
        {
            std::array<int, 25> anSame{};
            for (int nCommand = 0; nCommand < 25; ++nCommand)
                for (anSame[nCommand] = 0; anSame[nCommand] < nCommand; ++anSame[nCommand])
                    if (sameAnswers(static_cast<command_t>(nCommand - 1),
                                    static_cast<command_t>(anSame[nCommand] - 1)))
                        break;
            return anSame;
        }();
        for (int nCommand = 0; nCommand < 25; ++nCommand)
            if (anKinds[nCommand] != anKinds[s_anSame[nCommand]])
                std::abort();
        // A foreign line is foreign because some command names it; no command at all finds every line
        // foreign.
        const bool bNamed = anKinds[int(command_t::NoCommand) + 1] == answerKind_t::Foreign;
        if (bForeignToSome != bNamed || (bNamed && !bOwnOfSome))
            std::abort();
        // The reading in one step is the reading in two.
        const answer_t once = answerTo(static_cast<command_t>(p_nSize % 25 - 1), strLine);
        if (once.nKind != anKinds[p_nSize % 25])
            std::abort();
        enrolmentQuality(strLine);
    }
    return 0;
}
