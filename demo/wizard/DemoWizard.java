import java.io.BufferedReader;
import java.io.InputStreamReader;

// A small setup wizard for the demo launcher: it shows which JVM the
// launcher found and what the launcher handed over, and ends with status 0
// (or the status asked for with --exit=N, which the tests use).
public class DemoWizard {
    private static final String[] LAUNCHER_PROPERTIES = {
        "lx.jvm.home", "lx.jvm.file", "lx.jvm.temp", "lx.launcher.file",
        "lx.external.home", "lx.media.home", "temp.dir"
    };

    public static void main(String[] args) throws Exception {
        System.out.println();
        System.out.println("Welcome to the demo setup wizard.");
        System.out.println("Running on Java " + System.getProperty("java.version")
            + " (" + System.getProperty("java.vendor") + ") at " + System.getProperty("java.home"));
        System.out.println("The launcher passed:");
        for (String name : LAUNCHER_PROPERTIES) {
            System.out.println("  " + name + " = " + System.getProperty(name));
        }
        int status = 0;
        StringBuilder rest = new StringBuilder();
        for (String arg : args) {
            if (arg.startsWith("--exit=")) {
                status = Integer.parseInt(arg.substring("--exit=".length()));
            }
            rest.append(" [").append(arg).append(']');
        }
        System.out.println("  arguments =" + rest);
        if (System.console() != null && status == 0) {
            System.out.print("Press Enter to finish the setup... ");
            System.out.flush();
            new BufferedReader(new InputStreamReader(System.in)).readLine();
        }
        System.out.println("Setup finished.");
        System.exit(status);
    }
}
