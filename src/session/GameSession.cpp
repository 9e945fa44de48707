#include "session/GameSession.h"

#include "physics/PhysicsWorld.h"
#include "puzzles/BallGame.h"
#include "puzzles/CubeBottom.h"
#include "puzzles/FlowBoard.h"
#include "puzzles/MovingTiles.h"
#include "puzzles/PentagonPanel.h"
#include "puzzles/RiverCrossingGame.h"
#include "puzzles/Solvers.h"
#include "session/GameClock.h"
#include "session/PhysicsCatchUp.h"

#include <glm/gtc/matrix_transform.hpp>

#include <array>
#include <string>
#include <utility>

namespace zarn {

namespace {

using Kind = GameEvent::Kind;

glm::mat4 at(const glm::vec3& centre) {
    return glm::translate(glm::mat4(1.0f), centre);
}

int tagOf(PickTarget::Kind kind, int index = 0) {
    return PickTarget{kind, index}.tag();
}

// "a", "a and b", "a, b and c".
std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t k = 0; k < names.size(); ++k)
        text += (k == 0 ? "" : k + 1 == names.size() ? " and " : ", ") + names[k];
    return text;
}

// The arrow key that pushes the ball most nearly along `direction` (x, z),
// seen from eye.
const char* arrowKeyName(glm::ivec2 direction, const glm::vec3& eye) {
    constexpr const char* names[] = {"Right", "Left", "Down", "Up"}; // by Arrow
    const auto arrow = BallMaze::arrowAlong(glm::vec2(direction), eye);
    return names[int(arrow ? arrow->first : BallMaze::Arrow::Up)];
}

} // namespace

// Everything one game holds; play again builds a new one.
struct GameSession::Round {
    Round(double wallSeconds, double secondsPlayed)
        : clock(wallSeconds, secondsPlayed), physicsClock(clock.milliseconds()),
          ball(physics, tagOf(PickTarget::Kind::Ball), tagOf(PickTarget::Kind::MazeCell)),
          remainingSeconds(remainingSecondsAt(clock.seconds())) {
        for (int slot = 0; slot < tileCount; ++slot)
            physics.createStaticBox(
                tagOf(PickTarget::Kind::TileSlot, slot), 1.0f, 1.0f, MovingTiles::tileThickness,
                at(MovingTiles::slotPosition({slot / tileGridSide, slot % tileGridSide})));
        for (int column = 0; column < 3; ++column)
            for (int row = 0; row < 3; ++row) {
                const RiverCrossingGame::Target& target = RiverCrossingGame::target(row, column);
                physics.createStaticBox(tagOf(PickTarget::Kind::RiverTarget, row * 3 + column),
                                        target.size.x, target.size.y, target.size.z,
                                        at(target.centre));
            }
        for (int k = 0; k < flowCellCount; ++k)
            physics.createStaticBox(tagOf(PickTarget::Kind::FlowCell, k), flowCellTargetSize.x,
                                    flowCellTargetSize.y, flowCellTargetSize.z,
                                    at(flowCellCentre(k)));
        const glm::vec3 buttonSize = CubeBottom::colliderSize;
        physics.createStaticBox(tagOf(PickTarget::Kind::Button), buttonSize.x, buttonSize.y,
                                buttonSize.z, CubeBottom::buttonRestPose);
    }

    GameClock clock;
    PhysicsCatchUp physicsClock;
    PhysicsWorld physics;
    BallGame ball;
    MovingTiles tiles;
    RiverCrossingGame river;
    FlowBoard flow;
    CubeBottom button;
    PentagonPanel panel;
    GameState state = GameState::Running;
    std::optional<Hint> hint;
    int hints = 0;
    bool ballPushed = false; // since the last physics steps
    std::array<bool, flowColourCount + 1> joined{};
    int remainingSeconds;
    float deltaSeconds = 0.0f;
};

GameSession::GameSession(double wallSeconds, double secondsPlayed)
    : round(std::make_unique<Round>(wallSeconds, secondsPlayed)) {}

GameSession::~GameSession() = default;

void GameSession::playAgain(double wallSeconds) {
    round.reset(); // one physics world at a time
    round = std::make_unique<Round>(wallSeconds, 0.0);
}

void GameSession::emit(Kind kind, int detail, std::string message) {
    events.push_back({kind, detail, std::move(message)});
    events.back().seconds = seconds();
}

std::vector<GameEvent> GameSession::takeEvents() {
    return std::exchange(events, {});
}

bool GameSession::takesMoves() const {
    return round->state == GameState::Running && round->clock.isRunning();
}

bool GameSession::fourSolved() const {
    return round->tiles.solved() && round->ball.solved() && round->river.solved() &&
           round->flow.solved;
}

void GameSession::advance(double wallSeconds) {
    Round& r = *round;
    const std::int64_t before = r.clock.microseconds();
    r.clock.advanceTo(wallSeconds);
    r.deltaSeconds = float(r.clock.microseconds() - before) / 1e6f;
    if (!r.clock.isRunning())
        return;
    const float dt = r.deltaSeconds;
    if (r.hint && r.clock.seconds() - r.hint->shownAt >= hintSeconds)
        r.hint.reset();

    if (r.state == GameState::Running) {
        switch (r.ball.check()) {
        case BallMaze::BallState::InGoal:
            emit(Kind::BallInGoal);
            emit(Kind::PuzzleSolved, int(Puzzle::Ball));
            break;
        case BallMaze::BallState::Fallen:
            emit(Kind::BallReset, 1);
            endHintOn(Face::Maze);
            break;
        case BallMaze::BallState::Rolling:
            break;
        }
    }
    r.river.update(dt);
    r.tiles.update(dt);
    if (r.button.update(dt))
        emit(Kind::ButtonReleased);
    updateProgress(dt);

    if (r.state != GameState::Running)
        return;
    // The countdown stops where it is once the game is won.
    const int remaining = r.remainingSeconds;
    if (solvedCount() != itemsToSolve)
        r.remainingSeconds = remainingSecondsAt(r.clock.seconds());
    r.state = decideGameState(solvedCount(), r.remainingSeconds);
    if (r.state == GameState::Won)
        emit(Kind::Won);
    else if (r.state == GameState::TimeUp)
        emit(Kind::TimeUp);
    else {
        if (r.remainingSeconds != remaining && r.remainingSeconds <= 10)
            emit(Kind::Tick, r.remainingSeconds);
        stepPhysics();
    }
}

// The physics steps due; a ball whose rolling changes sharply in them
// without a push has hit a wall (slopes and drops change it gently, or only
// in height).
void GameSession::stepPhysics() {
    Round& r = *round;
    const int steps = r.physicsClock.stepsDue(r.clock.milliseconds());
    if (steps == 0)
        return;
    const glm::vec3 before = r.ball.velocity();
    for (int step = 0; step < steps; ++step)
        r.physics.stepPhysics();
    const glm::vec3 after = r.ball.velocity();
    const float change = glm::length(glm::vec2(after.x - before.x, after.z - before.z));
    if (!r.ballPushed && !r.ball.solved() && change > 0.35f)
        emit(Kind::BallHitWall, int(change * 100.0f));
    r.ballPushed = false;
}

// Slides out a panel piece for every solved item: the lock once the button
// was pressed with the four puzzles solved.
void GameSession::updateProgress(float deltaSeconds) {
    Round& r = *round;
    if (fourSolved() && r.button.state().triggered)
        r.panel.requestToggle(1);
    for (const Puzzle puzzle : {Puzzle::Tiles, Puzzle::Ball, Puzzle::River, Puzzle::Flow})
        if (solved(puzzle))
            r.panel.requestToggle(int(puzzle) + 2);
    if (const int piece = r.panel.update(deltaSeconds); piece != 0)
        emit(Kind::PanelPieceOut, piece);
}

void GameSession::click(const PickRay& ray) {
    if (!takesMoves())
        return;
    Round& r = *round;
    const PickTarget target = pick(ray);
    switch (target.kind) {
    case PickTarget::Kind::TileSlot:
        if (const auto move = r.tiles.tryMove(target.index / 3, target.index % 3)) {
            emit(Kind::TileMoved, move->tile);
            endHintOn(Face::Tiles);
            if (r.tiles.solved())
                emit(Kind::PuzzleSolved, int(Puzzle::Tiles));
        } else if (!r.tiles.busy() && !r.tiles.solved())
            emit(Kind::TileBlocked, target.index);
        break;
    case PickTarget::Kind::RiverTarget:
        clickRiver(target.index / 3, target.index % 3);
        break;
    case PickTarget::Kind::FlowCell:
        if (r.flow.click(target.index)) {
            emit(Kind::CellChanged, target.index);
            if (r.hint && r.hint->mark == Hint::Mark::FlowCell &&
                r.flow.cells[std::size_t(r.hint->index)] == r.hint->colour)
                r.hint.reset();
            for (int colour = 1; colour <= flowColourCount; ++colour) {
                const bool joined = r.flow.joined(colour);
                if (joined && !r.joined[std::size_t(colour)])
                    emit(Kind::PairJoined, colour);
                r.joined[std::size_t(colour)] = joined;
            }
            if (r.flow.solved)
                emit(Kind::PuzzleSolved, int(Puzzle::Flow));
        }
        break;
    case PickTarget::Kind::Button:
        if (r.button.click(true, fourSolved()))
            emit(Kind::ButtonPressed, r.button.state().triggered ? 1 : 0);
        break;
    case PickTarget::Kind::Nothing:
    case PickTarget::Kind::MazeCell:
    case PickTarget::Kind::Ball:
        break;
    }
}

void GameSession::clickRiver(int row, int column) {
    RiverCrossingGame& river = round->river;
    const bool wasSolved = river.solved();
    switch (river.play(row, column, round->clock.seconds())) {
    case RiverCrossing::Move::Board:
        emit(Kind::FigureBoarded, river.rules().passenger);
        break;
    case RiverCrossing::Move::Unload:
        emit(Kind::FigureLanded, river.rules().passenger);
        break;
    case RiverCrossing::Move::Cross:
        emit(Kind::CrossingStarted);
        // A crossing clears the message; a new one means it failed.
        if (!river.rules().message.empty())
            emit(Kind::CrossingFailed, 0, river.rules().message);
        break;
    case RiverCrossing::Move::None:
        return;
    }
    endHintOn(Face::River);
    if (river.solved() && !wasSolved)
        emit(Kind::PuzzleSolved, int(Puzzle::River));
}

void GameSession::pushBall(BallMaze::Arrow arrow, const glm::vec3& cameraPosition) {
    if (!takesMoves())
        return;
    round->ball.push(arrow, cameraPosition);
    round->ballPushed = true;
}

void GameSession::ballToStart() {
    if (!takesMoves() || round->ball.solved())
        return;
    round->ball.toStart();
    emit(Kind::BallReset);
    endHintOn(Face::Maze);
}

void GameSession::endHintOn(Face face) {
    if (round->hint && round->hint->face == face)
        round->hint.reset();
}

void GameSession::showHint(const glm::vec3& eye) {
    if (!takesMoves())
        return;
    Round& r = *round;
    const Face face = faceFacing(eye);
    r.hint = makeHint(face, eye);
    r.hint->shownAt = seconds();
    if (r.hint->mark != Hint::Mark::None) {
        ++r.hints;
        emit(Kind::HintShown, int(face));
    }
}

Hint GameSession::makeHint(Face face, const glm::vec3& eye) const {
    const Round& r = *round;
    Hint hint;
    hint.face = face;
    const auto mark = [&](Hint::Mark kind, int index, std::string text) {
        hint.mark = kind;
        hint.index = index;
        hint.text = std::move(text);
    };
    std::vector<std::string> unsolved;
    for (const auto& [puzzle, name] :
         {std::pair{Puzzle::Tiles, "the tiles"}, std::pair{Puzzle::Ball, "the maze"},
          std::pair{Puzzle::River, "the river"}, std::pair{Puzzle::Flow, "the colours"}})
        if (!solved(puzzle))
            unsolved.push_back(name);

    switch (face) {
    case Face::Tiles:
        if (const auto clicks = shortestTileSolution(r.tiles.grid().tiles); !clicks.empty())
            mark(Hint::Mark::TileSlot, clicks.front().row * 3 + clicks.front().column,
                 "Click the marked tile");
        else
            hint.text = "The picture is whole";
        break;
    case Face::River:
        if (const auto click = nextRiverClick(r.river.rules())) {
            static constexpr const char* figures[] = {"the bear", "the rabbit", "the carrot"};
            const std::string what = click->column != 1 ? figures[click->row]
                                     : click->row == 1  ? "the arrow to cross"
                                                        : "the boat";
            mark(Hint::Mark::RiverTarget, click->row * 3 + click->column, "Click " + what);
        } else
            hint.text = "Everyone is across";
        break;
    case Face::Flow:
        if (const auto cell = nextFlowCell(r.flow)) {
            static constexpr const char* colours[] = {"", "red", "lilac", "teal", "blue", "cream"};
            mark(Hint::Mark::FlowCell, cell->cell,
                 std::string("Click the marked cell until it turns ") + colours[cell->colour]);
            hint.colour = cell->colour;
        } else
            hint.text = "Every colour is joined";
        break;
    case Face::Maze: {
        if (r.ball.solved()) {
            hint.text = "The ball is home";
            break;
        }
        const glm::vec3 velocity = r.ball.velocity();
        hint.ball = nextBallPush(r.ball.centre(), {velocity.x, velocity.z});
        switch (hint.ball.action) {
        case BallHint::Action::Push:
            mark(Hint::Mark::Ball, 0,
                 std::string("Press the ") + arrowKeyName(hint.ball.direction, eye) + " arrow key");
            break;
        case BallHint::Action::LetRoll:
            mark(Hint::Mark::Ball, 0, "Let the ball roll");
            break;
        case BallHint::Action::ToStart:
            mark(Hint::Mark::Ball, 0, "Press Backspace: the ball cannot get out of here");
            break;
        }
        break;
    }
    case Face::Button:
    case Face::Panel:
        if (!unsolved.empty())
            hint.text = (face == Face::Button ? "Solve " + listed(unsolved) + " first"
                                              : "Still to solve: " + listed(unsolved));
        else if (!r.button.state().triggered)
            hint.text =
                face == Face::Button ? "Click the red button" : "Press the red button underneath";
        else
            hint.text = "The lock is open";
        break;
    }
    return hint;
}

void GameSession::togglePause() {
    if (round->clock.isRunning())
        pause();
    else {
        round->clock.start();
        emit(Kind::Resumed);
    }
}

void GameSession::pause() {
    if (!takesMoves())
        return;
    round->clock.stop();
    emit(Kind::Paused);
}

GameState GameSession::state() const {
    return round->state;
}

bool GameSession::paused() const {
    return !round->clock.isRunning();
}

double GameSession::seconds() const {
    return round->clock.seconds();
}

float GameSession::deltaSeconds() const {
    return round->deltaSeconds;
}

int GameSession::remainingSeconds() const {
    return round->remainingSeconds;
}

bool GameSession::solved(Puzzle puzzle) const {
    switch (puzzle) {
    case Puzzle::Tiles:
        return round->tiles.solved();
    case Puzzle::Ball:
        return round->ball.solved();
    case Puzzle::River:
        return round->river.solved();
    case Puzzle::Flow:
        return round->flow.solved;
    }
    return false;
}

int GameSession::solvedCount() const {
    const bool buttonCounts = fourSolved() && round->button.state().triggered;
    return int(round->tiles.solved()) + int(round->ball.solved()) + int(round->river.solved()) +
           int(round->flow.solved) + int(buttonCounts);
}

const std::optional<Hint>& GameSession::hint() const {
    return round->hint;
}

int GameSession::hintsShown() const {
    return round->hints;
}

PickTarget GameSession::pick(const PickRay& ray) const {
    const PhysicsActor* hit = round->physics.pickActor(ray.origin, ray.direction);
    return hit ? PickTarget::fromTag(PhysicsWorld::tag(hit)) : PickTarget{};
}

const MovingTiles& GameSession::tiles() const {
    return round->tiles;
}
const RiverCrossingGame& GameSession::river() const {
    return round->river;
}
const FlowBoard& GameSession::flow() const {
    return round->flow;
}
const CubeBottom& GameSession::button() const {
    return round->button;
}
const PentagonPanel& GameSession::panel() const {
    return round->panel;
}
const BallGame& GameSession::ball() const {
    return round->ball;
}
const PhysicsWorld& GameSession::physics() const {
    return round->physics;
}

} // namespace zarn
